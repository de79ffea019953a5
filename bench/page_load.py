#!/usr/bin/python3
"""bench/page_load.py PAGE_FOLDER RUNS: times the web page in headless Chromium, for bench/run.

Alternates RUNS times between the page opened on kandomir (index.html#kandomir), timed from the
start of the navigation until its first prompt shows, and an empty page, timed until it has
loaded, both from the file, after two rounds that warm the new browser up and are not counted.
Prints the times in seconds as JSON: {"page": [...], "empty": [...]}.
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

# Resolves once the transcript holds kandomir's first prompt.
FIRST_PROMPT = """
const done = arguments[arguments.length - 1];
const transcript = document.getElementById('transcript');
const shown = () => transcript.textContent.startsWith('Cakto vleren per n:');
if (shown()) return done();
new MutationObserver(() => shown() && done()).observe(transcript, {childList: true});
"""


def main():
    folder, runs = sys.argv[1], int(sys.argv[2])
    page = "file://" + os.path.abspath(os.path.join(folder, "index.html")) + "#kandomir"
    times = {"page": [], "empty": []}
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
        finally:
            driver.quit()
    print(json.dumps(times))


if __name__ == "__main__":
    main()
