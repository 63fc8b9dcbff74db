# Drives Glimmer's page in Debian's Chromium, headless: the local server, the browser with a
# fresh profile, and the steps a person takes on the page. Shared by the page's tests and its
# benchmark.
import os
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains  # noqa: F401 (for the tests)
from selenium.common.exceptions import SessionNotCreatedException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys  # noqa: F401 (for the tests)

HERE = os.path.dirname(os.path.abspath(__file__))
SERVE = os.path.join(HERE, "..", "serve.py")

# Flags that let Chromium run as root on a machine without outside network.
CHROMIUM_FLAGS = [
    "--headless",
    "--no-sandbox",
    "--disable-gpu",
    "--disable-quic",
    "--no-first-run",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--window-size=1200,800",
]


class Server:
    """serve.py on a free port of 127.0.0.1."""

    def __init__(self, site):
        self.process = subprocess.Popen([sys.executable, SERVE, site, "--quiet"],
                                        stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        self.url = line.split()[line.split().index("browser:") + 1]

    def stop(self):
        self.process.terminate()
        self.process.wait()
        self.process.stdout.close()


def start_browser(language="en", downloads=None):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in CHROMIUM_FLAGS:
        options.add_argument(flag)
    profile = tempfile.mkdtemp(prefix="glimmer-chromium-")
    options.add_argument("--user-data-dir=" + profile)
    options.add_argument("--lang=" + language)
    options.add_experimental_option("prefs", {"intl.accept_languages": language})
    try:
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    except SessionNotCreatedException:
        # On a machine busy enough, the browser may not answer its driver in time: once more.
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.profile = profile
    if downloads:
        driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                               {"behavior": "allow", "downloadPath": downloads})
    return driver


def quit_browser(driver):
    driver.quit()
    shutil.rmtree(driver.profile, ignore_errors=True)


def wait_for(condition, timeout=120, interval=0.05, what="the page"):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(interval)


def text(driver, element_id):
    return driver.find_element(By.ID, element_id).text


def give_folder(driver, folder):
    """What choosing a folder in the browser's folder dialog gives the page."""
    driver.find_element(By.ID, "folder-input").send_keys(folder)


def drop(driver, paths):
    """A real drop of files and folders from the desktop onto the page."""
    data = {"items": [], "files": list(paths), "dragOperationsMask": 1}
    for kind in ("dragEnter", "dragOver", "drop"):
        driver.execute_cdp_cmd("Input.dispatchDragEvent",
                               {"type": kind, "x": 300, "y": 300, "data": data})


# Reads the whole list as a person would see it by scrolling it from top to bottom: only the
# rows in view exist in the page, each with its place in the list (aria-rowindex).
READ_ROWS = """
const done = arguments[arguments.length - 1];
(async () => {
  const grid = document.getElementById('files');
  const scroller = grid.parentElement;
  const frame = () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
  const count = Number(grid.getAttribute('aria-rowcount')) - 1;
  const seen = new Map();
  const kept = scroller.scrollTop;
  scroller.scrollTop = 0;
  for (;;) {
    await frame();
    for (const row of grid.querySelectorAll('.rows [role=row]')) {
      seen.set(Number(row.getAttribute('aria-rowindex')),
               Array.from(row.children).slice(0, 5).map((cell) => cell.textContent));
    }
    if (scroller.scrollTop + scroller.clientHeight >= scroller.scrollHeight - 1) break;
    scroller.scrollTop += Math.max(1, scroller.clientHeight - 60);
  }
  scroller.scrollTop = kept;
  await frame();
  done(Array.from({ length: count }, (_, i) => seen.get(i + 2) || null));
})();
"""


def rows(driver):
    """The list as shown: name, folder, size, result, JPEG name of every row, top to bottom."""
    shown = driver.execute_async_script(READ_ROWS)
    missing = [i for i, row in enumerate(shown) if row is None]
    assert not missing, "rows never shown while scrolling the list: %s" % missing[:10]
    return shown


def row_count(driver):
    """The number of rows the list says it has."""
    return driver.execute_script(
        "return Number(document.getElementById('files').getAttribute('aria-rowcount')) - 1")


def wait_listed(driver, count):
    """Until the list holds `count` rows and the page has finished listing."""
    wait_for(lambda: row_count(driver) == count and not driver.execute_script(
        "return document.body.classList.contains('busy')"), what="the list of %d files" % count)


def row_element(driver, index):
    """The element of the list's row at `index` (from 0), scrolled into view first."""
    return driver.execute_script("""
        const [index] = arguments;
        const grid = document.getElementById('files');
        const body = grid.querySelector('.rows');
        const height = parseFloat(getComputedStyle(grid).getPropertyValue('--row-height'));
        grid.parentElement.scrollTop = body.offsetTop + index * height - height;
        grid.parentElement.dispatchEvent(new Event('scroll'));
        return grid.querySelector('.rows [aria-rowindex="' + (index + 2) + '"]');""", index)


def clear_list(driver):
    """Empties the list with Clear List, saying Yes if the page asks before it drops pictures."""
    driver.find_element(By.ID, "clear").click()
    dialog = driver.find_element(By.ID, "question")
    if dialog.get_attribute("open") is not None:
        dialog.find_element(By.CSS_SELECTOR, 'button[data-answer="yes"]').click()
    wait_for(lambda: row_count(driver) == 0, what="an empty list")


def wait_until_idle(driver, timeout=600):
    wait_for(lambda: driver.execute_script(
        "return !document.body.classList.contains('busy') && "
        "document.getElementById('message').textContent !== ''"), timeout, what="the run's end")
