#!/usr/bin/env python3
# What every test of Glimmer's page shares: the test card and glimmer-convert's outputs of it,
# the catalogue's English texts, one browser per test class on the page's own server, and the
# helpers for downloads, folders and screenshots.
import argparse
import base64
import os
import re
import shutil
import subprocess
import sys
import time
import unittest
import zipfile
import zlib

from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as page  # noqa: E402
import test_device as device  # noqa: E402


def en(identifier, *arguments):
    """The catalogue's English text, its "%s" and "%d" filled in."""
    return device.text(identifier, "en", *arguments)


SITE = CONVERTER = WORK = None
CAMS = CARD = OUTPUTS = None


def configure(site, converter, work):
    global SITE, CONVERTER, WORK
    SITE, CONVERTER, WORK = site, converter, work


def prepare():
    """The test card and glimmer-convert's outputs of it, made once for all test modules."""
    global CAMS, CARD, OUTPUTS
    if CARD is not None:
        return
    os.makedirs(WORK, exist_ok=True)
    CAMS = device.make_test_cams(os.path.join(WORK, "cams"))
    CARD = device.build_card(CAMS, os.path.join(WORK, "card"))
    OUTPUTS = device.converter_outputs(CONVERTER, CARD, WORK)


def expected_rows():
    """(name, folder, size) of the card's CAM files, in the order the page first lists them."""
    listed = []
    for place, _ in device.CARD:
        parts = ["card"] + place.split("/")
        listed.append((parts[-1], "/".join(parts[:-1]), os.path.getsize(os.path.join(CARD, place))))
    return sorted(listed, key=lambda row: row[1] + "/" + row[0])


def place_of(name, folder):
    return "/".join(folder.split("/")[1:] + [name])


def zip_path(place):
    """Where a file's JPEG stands in the ZIP or a folder saved to: below the card folder's own
    name, so that two cards never share a place."""
    name, _ = OUTPUTS[place]
    folder = place.rsplit("/", 1)[0] if "/" in place else ""
    return "card/" + (folder + "/" if folder else "") + name


def fresh_folder(name):
    """An empty folder of the test's own below the work folder."""
    path = os.path.join(WORK, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def streamed_downloads(driver):
    """How many downloads the page has streamed through its service worker."""
    return driver.execute_script("return document.querySelectorAll('iframe[src*=\"/download/\"]').length")


def without_service_worker(driver):
    """The page again, with no service worker looking after it (as on a browser that has none)."""
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
        "source": "navigator.serviceWorker.register = () => Promise.resolve();"})
    driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        navigator.serviceWorker.getRegistrations()
            .then((all) => Promise.all(all.map((registration) => registration.unregister())))
            .then(() => done(true));""")
    driver.get(driver.current_url + "?no-worker")
    page.wait_for(lambda: driver.find_element(By.ID, "convert-all").text != "", what="the page")
    assert not driver.execute_script("return navigator.serviceWorker.controller")


def finished_download(folder, name):
    """The path of a download once the browser has finished writing it."""
    names = os.listdir(folder)
    return os.path.join(folder, name) if names == [name] else None


def screenshot(driver, name):
    folder = os.path.join(WORK, "screenshots")
    os.makedirs(folder, exist_ok=True)
    driver.save_screenshot(os.path.join(folder, name))


class PageTest(unittest.TestCase):
    language = "en"

    @classmethod
    def setUpClass(cls):
        cls.server = page.Server(SITE)
        cls.downloads = os.path.join(WORK, "downloads-" + cls.__name__)
        shutil.rmtree(cls.downloads, ignore_errors=True)
        os.makedirs(cls.downloads)
        cls.driver = page.start_browser(cls.language, cls.downloads)
        cls.driver.get(cls.server.url)
        page.wait_for(lambda: cls.driver.find_element(By.ID, "convert-all").text != "")

    @classmethod
    def tearDownClass(cls):
        page.quit_browser(cls.driver)
        cls.server.stop()

    @classmethod
    def click(cls, element_id):
        cls.driver.find_element(By.ID, element_id).click()

    @classmethod
    def convert_all(cls):
        cls.click("convert-all")
        page.wait_until_idle(cls.driver)

    @classmethod
    def give_card(cls):
        page.give_folder(cls.driver, CARD)
        page.wait_listed(cls.driver, len(device.CARD))

    def assert_outcomes(self, shown, language):
        for name, folder, _, result, jpeg in shown:
            place = place_of(name, folder)
            with self.subTest(place=place):
                self.assertEqual(result, device.outcome(place, language))
                self.assertEqual(jpeg, OUTPUTS[place][0] if OUTPUTS[place] else "")


# Reads every file below the private folder the tests save into, as {path: bytes}.
READ_SAVED = """
const done = arguments[arguments.length - 1];
(async () => {
  const files = {};
  async function walk(folder, prefix) {
    for await (const [name, handle] of folder.entries()) {
      if (handle.kind === "directory") {
        await walk(handle, prefix + name + "/");
      } else {
        const bytes = new Uint8Array(await (await handle.getFile()).arrayBuffer());
        let text = "";
        for (let i = 0; i < bytes.length; i += 0x8000) {
          text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        }
        files[prefix + name] = btoa(text);
      }
    }
  }
  const root = await navigator.storage.getDirectory();
  await walk(await root.getDirectoryHandle("saved", { create: true }), "");
  done(files);
})().catch((error) => done({ error: String(error) }));
"""

# Puts bytes into every saved file (or removes the file at arguments[1]).
OVERWRITE_SAVED = """
const [content, removed, done] = arguments;
(async () => {
  const root = await (await navigator.storage.getDirectory()).getDirectoryHandle("saved");
  async function walk(folder, prefix) {
    for await (const [name, handle] of folder.entries()) {
      if (handle.kind === "directory") {
        await walk(handle, prefix + name + "/");
      } else if (prefix + name === removed) {
        await folder.removeEntry(name);
      } else {
        const writable = await handle.createWritable();
        await writable.write(new TextEncoder().encode(content));
        await writable.close();
      }
    }
  }
  await walk(root, "");
  done(true);
})().catch((error) => done(String(error)));
"""


class PrivateFolder:
    """Save to Folder... into a folder of the browser's private file system, which the folder
    dialog would otherwise give: the same kind of folder, written through the same calls."""

    @classmethod
    def use_private_folder(cls):
        cls.driver.execute_script("""
            window.showDirectoryPicker = async () =>
                (await navigator.storage.getDirectory()).getDirectoryHandle("saved", { create: true });
            window.idleAgain = 0;
            new MutationObserver(() => {
              if (!document.body.classList.contains('busy')) window.idleAgain++;
            }).observe(document.body, { attributes: true, attributeFilter: ['class'] });
        """)

    def saved(self):
        files = self.driver.execute_async_script(READ_SAVED)
        self.assertNotIn("error", files)
        return {path: base64.b64decode(data) for path, data in files.items()}

    def overwrite_saved(self, content, removed=""):
        self.assertIs(self.driver.execute_async_script(OVERWRITE_SAVED, content, removed), True)

    def save(self, answers):
        """Clicks Save to Folder... and answers each question in turn; returns the questions."""
        before = self.driver.execute_script("return window.idleAgain")
        self.click("save-folder")
        asked = []
        for answer in answers:
            dialog = self.driver.find_element(By.ID, "question")
            page.wait_for(lambda: dialog.get_attribute("open") is not None, what="the question")
            asked.append(dialog.find_element(By.CSS_SELECTOR, ".text").text)
            dialog.find_element(By.CSS_SELECTOR, 'button[data-answer="%s"]' % answer).click()
        page.wait_for(lambda: self.driver.execute_script("return window.idleAgain") > before,
                      what="the end of saving")
        self.assertIsNone(self.driver.find_element(By.ID, "question").get_attribute("open"))
        return asked
