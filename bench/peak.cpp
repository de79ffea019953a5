// peak PROGRAM [ARGS...] < ANSWERS: runs the program with its output discarded and prints its
// peak resident memory in KiB. Started from this small process, the count does not include the
// pages of a large parent (the benchmark's interpreter) that a fork copies before the exec.
#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 2)
    return 2;
  const pid_t pid = fork();
  if (pid < 0) {
    std::perror("peak: fork");
    return 1;
  }
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null < 0 || dup2(null, 1) < 0)
      _exit(126);
    execv(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) < 0 || status != 0)
    return 1;
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}
