// Under Node, run as a program: start it at once, on Node's own standard streams.
if (typeof module !== 'undefined' && typeof require !== 'undefined' && require.main === module)
  module.exports();
