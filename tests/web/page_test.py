#!/usr/bin/python3
"""Plays dialogue cases of the tables on the web page in headless Chromium, as a user would.

Usage: tests/web/page_test.py PAGE_FOLDER

For each case the page is opened from the file (index.html#PROGRAM). Each time the program waits
for an answer, the next line of the case's input is typed into the field and sent with Enter;
when the input has no line left, Ctrl-D ends it. Once the program has ended, the transcript must
be the terminal's view of the case's expected bytes (the output, each answer echoed right after
its prompt, decoded as UTF-8), the diagnostics its standard error, the status 0, and the browser's
console free of errors.

The cases come from the native dialogue tables (DIALOGUE_TESTS, or build/ci/tests/dialogue_tests),
which write them out instead of running them when DIALOGUE_EXPORT is set. Runs under Debian's own
Python, which has Debian's Selenium; drives Debian's Chromium through its ChromeDriver.
"""
import json
import os
import re
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PROMPTS = {
    "vostrel": ["Numri i pacientit:", "Emri dhe mbiemri i pacientit:", "Mosha e pacientit:",
                "Qyteti i pacientit:", "Diagnoza e pacientit:"],
    "kandomir": ["Cakto vleren per n:", "Cakto vleren per x:"],
}
# For each program: its worked dialogue, a failed read, and for vostrel an over-long name, a name
# with a letter of two bytes, and one cut inside that letter.
PLAYED = {
    ("vostrel", "age 70"), ("vostrel", "non-numeric age"), ("vostrel", "name of 30 characters"),
    ("vostrel", "name with a letter of two bytes"), ("vostrel", "name cut inside a letter"),
    ("kandomir", "n 4, x 0.5"), ("kandomir", "non-numeric n"),
}


def cases():
    """The played cases, their texts as bytes."""
    tests = os.environ.get("DIALOGUE_TESTS", os.path.join(ROOT, "build/ci/tests/dialogue_tests"))
    with tempfile.TemporaryDirectory() as scratch:
        path = os.path.join(scratch, "cases")
        subprocess.run([tests, "--gtest_filter=Patient.Dialogue:Product.Dialogue"], check=True,
                       stdout=subprocess.DEVNULL, env={**os.environ, "DIALOGUE_EXPORT": path})
        with open(path, encoding="ascii") as f:
            rows = [json.loads(line) for line in f]
    found = [{key: value.encode("latin-1") if key in ("input", "out", "err") else value
              for key, value in row.items()}
             for row in rows if (row["program"], row["what"]) in PLAYED]
    if len(found) != len(PLAYED):
        sys.exit(f"page_test: the tables lack some of {sorted(PLAYED)}")
    return found


def browser(scratch):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-quic", "--window-size=360,740",
                 f"--user-data-dir={scratch}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def terminal_view(program, out, typed):
    """What a terminal shows: the output, with the i-th answer typed echoed after the i-th prompt
    (the prompts come in their order, and the program waits only right after one)."""
    text = out.decode("utf-8", "replace")
    pieces, at = [], 0
    for prompt, answer in zip(PROMPTS[program], typed):
        end = text.index(prompt, at) + len(prompt)
        pieces.append(text[at:end] + answer)
        at = end
    return "".join(pieces) + text[at:]


def play(driver, page, case):
    program = case["program"]
    driver.get("about:blank")
    driver.get(f"{page}#{program}")
    form = driver.find_element(By.ID, "console")
    field = driver.find_element(By.ID, "answer")
    state = lambda: form.get_attribute("data-state")
    waits = lambda: int(form.get_attribute("data-waits") or 0)
    lines = case["input"].decode("utf-8").splitlines(keepends=True)
    typed = []
    wait = WebDriverWait(driver, 20, poll_frequency=0.02)
    while True:
        wait.until(lambda _: state() == "ended" or waits() > len(typed))
        if state() == "ended":
            break
        if lines:
            line = lines.pop(0)
            field.send_keys(line.rstrip("\n"))
            field.send_keys(Keys.ENTER)
            typed.append(line if line.endswith("\n") else line + "\n")
        else:
            field.send_keys(Keys.CONTROL, "d")
            typed.append("")
    text = lambda id: driver.find_element(By.ID, id).get_attribute("textContent")
    failures = []
    want = terminal_view(program, case["out"], typed)
    if text("transcript") != want:
        failures.append(f"transcript {text('transcript')!r}, not {want!r}")
    if text("errors") != case["err"].decode("utf-8"):
        failures.append(f"diagnostics {text('errors')!r}, not {case['err'].decode()!r}")
    if re.findall(r"-?\d+", text("status")) != ["0"]:
        failures.append(f"status {text('status')!r}, not 0")
    errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
    if errors:
        failures.append(f"errors in the browser's console: {errors}")
    return failures


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: tests/web/page_test.py PAGE_FOLDER")
    page = "file://" + os.path.abspath(os.path.join(sys.argv[1], "index.html"))
    played = cases()
    failed = 0
    with tempfile.TemporaryDirectory() as scratch:
        driver = browser(scratch)
        try:
            for case in played:
                failures = play(driver, page, case)
                print(f"{'ok' if not failures else 'FAILED'}: {case['program']}, {case['what']}")
                for failure in failures:
                    print(f"  {failure}")
                failed += bool(failures)
        finally:
            driver.quit()
    print(f"{len(played) - failed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
