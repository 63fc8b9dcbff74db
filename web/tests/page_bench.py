#!/usr/bin/env python3
# Measures the page converting a folder of CAM files: the folder is given to the page first,
# then each run is timed by the page itself from the click on Convert All to the last output
# ready. Prints one line per run: "result page_run SECONDS". A measurement, not a test.
#   page_bench.py --site SITE --corpus FOLDER --runs N
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as page  # noqa: E402


def count_files(folder):
    return sum(1 for _, _, names in os.walk(folder) for name in names
               if name.lower().endswith(".cam"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    files = count_files(args.corpus)
    server = page.Server(args.site)
    driver = page.start_browser()
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
            if run > 0:
                print("result page_run %.6f" % (milliseconds / 1000), flush=True)
    finally:
        driver.quit()
        server.stop()


if __name__ == "__main__":
    main()
