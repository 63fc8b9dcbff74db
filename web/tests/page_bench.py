#!/usr/bin/env python3
# Measures the page converting a folder of CAM files: the folder is given to the page first,
# then each run is timed by the page itself from the click on Convert All to the last output
# ready. Beside it, what the browser alone takes to read the same files one after another.
# Prints one line per figure and run: "result page_run SECONDS", "result read_only SECONDS".
# A measurement, not a test.
#   page_bench.py --site SITE --corpus FOLDER --runs N
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as page  # noqa: E402


def count_files(folder):
    return sum(1 for _, _, names in os.walk(folder) for name in names
               if name.lower().endswith(".cam"))


# Reads every file of a folder input of its own, one file after another, as the worker does.
READ_ONLY = """
const done = arguments[arguments.length - 1];
(async () => {
  const files = Array.from(document.getElementById('bench-input').files);
  const start = performance.now();
  for (const file of files) await file.arrayBuffer();
  done([files.length, performance.now() - start]);
})();
"""


def read_only(driver, corpus, files):
    driver.execute_script("""
        const input = document.createElement('input');
        input.type = 'file';
        input.webkitdirectory = true;
        input.id = 'bench-input';
        input.hidden = true;
        document.body.append(input);""")
    driver.find_element(page.By.ID, "bench-input").send_keys(corpus)
    page.wait_for(lambda: driver.execute_script(
        "return document.getElementById('bench-input').files.length") == files, what="the files")
    count, milliseconds = driver.execute_async_script(READ_ONLY)
    if count != files:
        sys.exit("page_bench: the browser read %d files of %d" % (count, files))
    return milliseconds / 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    files = count_files(args.corpus)
    server = page.Server(args.site)
    driver = page.start_browser()
    driver.set_script_timeout(600)
    try:
        driver.get(server.url)
        # The first run only warms the caches.
        for run in range(args.runs + 1):
            driver.refresh()
            page.wait_for(lambda: driver.find_element(page.By.ID, "convert-all").text != "")
            page.give_folder(driver, os.path.abspath(args.corpus))
            page.wait_for(lambda: driver.execute_script(
                "return document.querySelectorAll('#files .rows .row').length") == files,
                what="the list")
            driver.find_element(page.By.ID, "convert-all").click()
            page.wait_until_idle(driver)
            converted = driver.execute_script(
                "return document.querySelectorAll('#files .jpeg a').length")
            if converted != files:
                sys.exit("page_bench: the page converted %d files of %d" % (converted, files))
            milliseconds = float(driver.execute_script(
                "return document.body.dataset.lastRunMilliseconds"))
            reading = read_only(driver, os.path.abspath(args.corpus), files)
            if run > 0:
                print("result page_run %.6f" % (milliseconds / 1000), flush=True)
                print("result read_only %.6f" % reading, flush=True)
    finally:
        page.quit_browser(driver)
        server.stop()


if __name__ == "__main__":
    main()
