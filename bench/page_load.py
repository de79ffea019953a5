#!/usr/bin/python3
"""bench/page_load.py PAGE_FOLDER RUNS: times the web page in headless Chromium, for bench/run.

Alternates RUNS times between the page opened on kandomir (index.html#kandomir), timed from the
start of the navigation until its first prompt shows, and an empty page, timed until it has
loaded, both from the file, after two rounds that warm the new browser up and are not counted.
Then, three times, sends kandomir a 10 MB answer for n and times the page from sending it until
its next frame, as long as the page cannot answer a person.
Prints the times in seconds as JSON: {"page": [...], "empty": [...], "freeze": [...]}.
Runs under Debian's own Python, which has Debian's Selenium.
"""
import json
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "tests", "web"))
import page_test  # noqa: E402  the browser as the page's test starts it

# Resolves once kandomir's run, made by the page in its runs' box, shows the first prompt.
FIRST_PROMPT = """
const done = arguments[arguments.length - 1];
const runs = document.getElementById('runs');
const shown = () => runs.querySelector('.transcript')?.textContent.startsWith('Cakto vleren per n:');
if (shown()) return done();
new MutationObserver(() => shown() && done()).observe(runs, {childList: true, subtree: true});
"""

# Sends a 10 MB answer to the waiting program, and resolves with the seconds until the next frame.
FREEZE = """
const done = arguments[arguments.length - 1];
const answer = document.getElementById('answer');
answer.value = '9'.repeat(10 << 20);
const start = performance.now();
document.getElementById('console').requestSubmit();
requestAnimationFrame(() => done((performance.now() - start) / 1000));
"""


def main():
    folder, runs = sys.argv[1], int(sys.argv[2])
    page = "file://" + os.path.abspath(os.path.join(folder, "index.html")) + "#kandomir"
    times = {"page": [], "empty": [], "freeze": []}
    with tempfile.TemporaryDirectory() as scratch:
        empty = os.path.join(scratch, "empty.html")
        with open(empty, "w") as f:
            f.write("<!DOCTYPE html><title>empty</title>\n")
        driver = page_test.browser(os.path.join(scratch, "profile"))
        driver.set_script_timeout(30)
        try:
            for round in range(runs + 2):
                driver.get("about:blank")
                start = time.perf_counter()
                driver.get(page)
                driver.execute_async_script(FIRST_PROMPT)
                times["page"].append(time.perf_counter() - start)
                driver.get("about:blank")
                start = time.perf_counter()
                driver.get("file://" + empty)
                driver.execute_async_script("arguments[arguments.length - 1]();")
                times["empty"].append(time.perf_counter() - start)
                if round < 2:
                    times["page"].pop()
                    times["empty"].pop()
            for _ in range(3):
                driver.get("about:blank")
                driver.get(page)
                driver.execute_async_script(FIRST_PROMPT)
                times["freeze"].append(driver.execute_async_script(FREEZE))
        finally:
            driver.quit()
    print(json.dumps(times))


if __name__ == "__main__":
    main()
