#!/usr/bin/env python3
# Measures the page in Debian's Chromium, headless. A measurement, not a test: it prints one
# line per figure and run, "result NAME VALUE", and fails only when the page did not do the
# work (a file not listed or not converted).
#   page_bench.py --site SITE --corpus FOLDER [--large FOLDER] [--padded CAM] [--big CAM]
#                 [--runs N] [--large-runs N]
# For each folder of CAM files (the corpus, and the larger one):
#   list_S / list_drop_S   seconds from the folder given (through a folder input, as browsers
#                          without a folder picker give it, or by a drop, which is also how a
#                          folder picked in Chromium is walked) to the whole list shown with its
#                          count
#   convert_S              seconds from the click on Convert All to the last output ready, as
#                          the page times itself
#   read8_S                seconds the same browser takes to merely read the same files, with 8
#                          reads in flight (what the page cannot be faster than)
#   frame_list_S, frame_list_drop_S, frame_convert_S   the longest frame (milliseconds between
#                          two animation frames) while listing and converting
# (S is "small" for the corpus, "large" for the larger folder.) Then the memory the browser's
# processes add (MiB): converting a large CAM file that holds a small picture (memory_padded),
# and making the ZIP of one large picture (memory_zip); and of those all but the browser's own
# process, among them the renderers that run the page, its workers and its service worker
# (memory_padded_page, memory_zip_page).
import argparse
import os
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as page  # noqa: E402
import test_device as device  # noqa: E402


def count_files(folder):
    return sum(1 for _, _, names in os.walk(folder) for name in names
               if name.lower().endswith(".cam"))


def report(name, value):
    print("result %s %.6f" % (name, value), flush=True)


# Times kept by the page itself: when a folder was given (a change of a file input, or a drop),
# when the status bar first showed the whole count, and the longest gap between two animation
# frames since then (the frame the folder arrives in counted from the frame before it), or since
# the bench last set `longest` to 0.
INSTRUMENT = """
const expected = arguments[0];
const bench = (window.bench = { given: null, listed: null, longest: 0, last: null });
const given = () => {
  bench.given = performance.now();
  bench.listed = null;
  bench.longest = 0;
};
document.addEventListener("change", given, true);
document.addEventListener("drop", given, true);
const status = document.getElementById("status-0");
new MutationObserver(() => {
  if (bench.listed === null && status.textContent === expected) bench.listed = performance.now();
}).observe(status, { childList: true, characterData: true, subtree: true });
const frame = (now) => {
  if (bench.last !== null) bench.longest = Math.max(bench.longest, now - bench.last);
  bench.last = now;
  requestAnimationFrame(frame);
};
requestAnimationFrame(frame);
"""

# Reads every file of a folder input of its own, 8 at a time, as fast as the browser can.
READ_ALL = """
const done = arguments[arguments.length - 1];
(async () => {
  const files = Array.from(document.getElementById('bench-input').files);
  const start = performance.now();
  let next = 0;
  const reader = async () => {
    while (next < files.length) await files[next++].arrayBuffer();
  };
  await Promise.all(Array.from({ length: 8 }, reader));
  done([files.length, performance.now() - start]);
})();
"""


def fresh_page(driver, files):
    driver.refresh()
    page.wait_for(lambda: driver.find_element(page.By.ID, "convert-all").text != "")
    driver.execute_script(INSTRUMENT, device.text("FileCountOther", "en", files))


def wait_listed(driver):
    seconds = page.wait_for(lambda: driver.execute_script(
        "return bench.listed !== null && (bench.listed - bench.given) / 1000"), timeout=900,
        what="the whole list")
    return seconds, driver.execute_script("return bench.longest")


def converted_count(driver):
    """Rows with a JPEG after the run: the page says so, or (before it did) its links count."""
    count = driver.execute_script("return document.body.dataset.lastRunPictures")
    if count is None:
        count = driver.execute_script("return document.querySelectorAll('#files .jpeg a').length")
    return int(count)


def convert_all(driver, files):
    driver.execute_script("bench.longest = 0; bench.last = null;")
    driver.find_element(page.By.ID, "convert-all").click()
    page.wait_until_idle(driver, timeout=3600)
    if converted_count(driver) != files:
        sys.exit("page_bench: the page converted %d files of %d" % (converted_count(driver), files))
    milliseconds = float(driver.execute_script("return document.body.dataset.lastRunMilliseconds"))
    return milliseconds / 1000, driver.execute_script("return bench.longest")


def read_all(driver, folder, files):
    driver.execute_script("""
        const input = document.createElement('input');
        input.type = 'file';
        input.webkitdirectory = true;
        input.id = 'bench-input';
        input.hidden = true;
        document.body.append(input);""")
    driver.find_element(page.By.ID, "bench-input").send_keys(folder)
    page.wait_for(lambda: driver.execute_script(
        "return document.getElementById('bench-input').files.length") == files, what="the files")
    count, milliseconds = driver.execute_async_script(READ_ALL)
    if count != files:
        sys.exit("page_bench: the browser read %d files of %d" % (count, files))
    return milliseconds / 1000


def folder_figures(driver, folder, size, runs):
    files = count_files(folder)
    # The first run only warms the caches.
    for run in range(runs + 1):
        fresh_page(driver, files)
        page.drop(driver, [folder])
        listed_drop, drop_frame = wait_listed(driver)
        fresh_page(driver, files)
        page.give_folder(driver, folder)
        listed, list_frame = wait_listed(driver)
        converted, convert_frame = convert_all(driver, files)
        reading = read_all(driver, folder, files)
        if run > 0:
            report("list_drop_" + size, listed_drop)
            report("frame_list_drop_" + size, drop_frame)
            report("list_" + size, listed)
            report("frame_list_" + size, list_frame)
            report("convert_" + size, converted)
            report("frame_convert_" + size, convert_frame)
            report("read8_" + size, reading)


# --- memory --------------------------------------------------------------------------------

def descendants(root):
    parents = {}
    for name in os.listdir("/proc"):
        if name.isdigit():
            try:
                with open("/proc/%s/stat" % name) as f:
                    parents[int(name)] = int(f.read().rsplit(")", 1)[1].split()[1])
            except OSError:
                pass
    found, todo = set(), [root]
    while todo:
        pid = todo.pop()
        for child, parent in parents.items():
            if parent == pid and child not in found:
                found.add(child)
                todo.append(child)
    return found


def resident_kib(pids):
    """The resident memory of the processes: all of them, and all but the browser's own (the one
    started without a --type, which the others are started by)."""
    total = others = 0
    for pid in pids:
        try:
            with open("/proc/%d/cmdline" % pid) as f:
                # Helpers write their whole command line as one text, so look for it anywhere.
                helper = " --type=" in f.read().replace("\0", " ")
            with open("/proc/%d/status" % pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
                        others += int(line.split()[1]) if helper else 0
        except OSError:
            pass
    return total, others


class MemorySampler:
    """The resident memory of every process of the browser, summed, every 20 ms; and of all but
    the browser's own process."""

    def __init__(self, driver):
        self.root = driver.service.process.pid
        self.samples = []
        self.running = False

    def now(self):
        return resident_kib(descendants(self.root))

    def start(self):
        self.samples = []
        self.running = True
        self.thread = threading.Thread(target=self.sample)
        self.thread.start()

    def sample(self):
        while self.running:
            self.samples.append(self.now())
            time.sleep(0.02)

    def stop(self):
        self.running = False
        self.thread.join()
        return max(total for total, _ in self.samples), max(page for _, page in self.samples)


def settled_memory(sampler):
    time.sleep(1)
    samples = [sampler.now() for _ in range(5)]
    return min(total for total, _ in samples), min(page for _, page in samples)


def report_growth(name, before, peak):
    report(name, (peak[0] - before[0]) / 1024)
    report(name + "_page", (peak[1] - before[1]) / 1024)


def memory_figures(driver, padded, big, downloads, runs):
    sampler = MemorySampler(driver)
    for _ in range(runs):
        driver.refresh()
        page.wait_for(lambda: driver.find_element(page.By.ID, "convert-all").text != "")
        page.give_folder(driver, os.path.dirname(padded))
        page.wait_for(lambda: page.text(driver, "status-0") == "1 File", what="the list")
        before = settled_memory(sampler)
        sampler.start()
        driver.find_element(page.By.ID, "convert-all").click()
        page.wait_until_idle(driver)
        peak = sampler.stop()
        if converted_count(driver) != 1:
            sys.exit("page_bench: the padded file was not converted")
        report_growth("memory_padded", before, peak)

        driver.refresh()
        page.wait_for(lambda: driver.find_element(page.By.ID, "convert-all").text != "")
        page.give_folder(driver, os.path.dirname(big))
        page.wait_for(lambda: page.text(driver, "status-0") == "1 File", what="the list")
        driver.find_element(page.By.ID, "convert-all").click()
        page.wait_until_idle(driver)
        if converted_count(driver) != 1:
            sys.exit("page_bench: the big file was not converted")
        for name in os.listdir(downloads):
            os.remove(os.path.join(downloads, name))
        before = settled_memory(sampler)
        sampler.start()
        driver.find_element(page.By.ID, "download-zip").click()
        zipped = page.wait_for(lambda: os.listdir(downloads) == ["glimmer.zip"], timeout=600,
                               what="the ZIP file")
        peak = sampler.stop()
        if not zipped or os.path.getsize(os.path.join(downloads, "glimmer.zip")) < os.path.getsize(big) // 2:
            sys.exit("page_bench: the ZIP file does not hold the big picture")
        report_growth("memory_zip", before, peak)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--corpus", required=True)
    parser.add_argument("--large")
    parser.add_argument("--padded")
    parser.add_argument("--big")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--large-runs", type=int, default=None)
    args = parser.parse_args()
    server = page.Server(args.site)
    downloads = tempfile.mkdtemp(prefix="glimmer-bench-downloads-")
    driver = page.start_browser(downloads=downloads)
    driver.set_script_timeout(900)
    try:
        driver.get(server.url)
        folder_figures(driver, os.path.abspath(args.corpus), "small", args.runs)
        if args.large:
            large_runs = args.runs if args.large_runs is None else args.large_runs
            folder_figures(driver, os.path.abspath(args.large), "large", large_runs)
        if args.padded and args.big:
            memory_figures(driver, os.path.abspath(args.padded), os.path.abspath(args.big), downloads,
                           args.runs)
    finally:
        page.quit_browser(driver)
        server.stop()
        for name in os.listdir(downloads):
            os.remove(os.path.join(downloads, name))
        os.rmdir(downloads)


if __name__ == "__main__":
    main()
