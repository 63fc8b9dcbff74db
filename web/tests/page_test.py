#!/usr/bin/env python3
# Glimmer's page in a real browser (Debian's Chromium, headless): files given through the
# folder dialog and by a drop, Convert All against glimmer-convert byte for byte, each row's
# outcome, the ZIP's entries and dates, saving into a folder with the replace question, both
# languages, Stop, a page that answers during a long conversion, and the page offline.
#   page_test.py --site SITE --converter GLIMMER_CONVERT --work DIR [unittest arguments]
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


def setUpModule():
    global CAMS, CARD, OUTPUTS
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


class EnglishPage(PageTest):
    """The folder dialog, Convert All, the ZIP, sorting, and what the page loads."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.give_card()
        cls.listed = page.rows(cls.driver)
        cls.counts = (page.text(cls.driver, "status-0"), page.text(cls.driver, "status-1"))
        cls.convert_all()
        cls.converted = page.rows(cls.driver)
        cls.message = page.text(cls.driver, "message")
        screenshot(cls.driver, "en.png")
        cls.click("download-zip")
        cls.zip = page.wait_for(lambda: finished_download(cls.downloads, "glimmer.zip"),
                                what="the ZIP file")
        cls.zip_message = page.text(cls.driver, "message")
        cls.zip_streamed = streamed_downloads(cls.driver)

    def test_folder_lists_its_cam_files_below_it_without_recycled_ones(self):
        expected = expected_rows()
        self.assertEqual([row[:3] for row in self.listed],
                         [[name, folder, "{:,}".format(size)] for name, folder, size in expected])
        total = sum(size for _, _, size in expected)
        self.assertEqual(self.counts, (en("FileCountOther", len(expected)),
                                       "{:,} {}".format(total, en("ByteUnitOther"))))

    def test_every_row_tells_its_outcome_in_the_programs_words(self):
        self.assertEqual(self.message, en("RunFinished"))
        self.assert_outcomes(self.converted, "en")

    def test_zip_holds_the_converters_outputs_with_the_cam_files_times(self):
        with zipfile.ZipFile(self.zip) as archive:
            entries = {info.filename: info for info in archive.infolist()}
            expected = {zip_path(place): place for place in OUTPUTS if OUTPUTS[place]}
            self.assertEqual(sorted(entries), sorted(expected))
            self.assertEqual(self.zip_message, en("ZipHoldsOther", len(expected)))
            # Made as the download took it, through the page's service worker.
            self.assertEqual(self.zip_streamed, 1)
            for path, place in expected.items():
                with self.subTest(path=path):
                    info = entries[path]
                    self.assertEqual(archive.read(info), OUTPUTS[place][1])
                    moment = os.path.getmtime(os.path.join(CARD, place))
                    local = time.localtime(moment)
                    self.assertEqual(info.date_time, local[:5] + (local.tm_sec // 2 * 2,))
                    # The exact time, in the extended-timestamp field ("UT", flags, seconds).
                    self.assertIn(b"UT\x05\x00\x01" + int(moment).to_bytes(4, "little"),
                                  info.extra)

    def test_each_column_sorts_and_a_second_click_reverses(self):
        def order(column):
            self.driver.find_element(By.CSS_SELECTOR, '[data-column="%s"]' % column).click()
            return [tuple(row[:3]) for row in page.rows(self.driver)]

        rows = [tuple(row[:3]) for row in self.converted]
        size = lambda row: int(row[2].replace(",", ""))
        by_name = sorted(rows, key=lambda row: row[0].lower())
        self.assertEqual(order("name"), by_name)
        self.assertEqual(order("name"), by_name[::-1])
        # Another column keeps the direction last used.
        self.assertEqual([size(row) for row in order("size")],
                         sorted((size(row) for row in rows), reverse=True))
        self.assertEqual([row[1] for row in order("folder")],
                         sorted((row[1] for row in rows), key=str.lower, reverse=True))
        self.assertEqual([row[1] for row in order("folder")],
                         sorted((row[1] for row in rows), key=str.lower))

    def test_a_thumbnail_opens_the_whole_picture(self):
        thumbnail = self.driver.find_element(By.CSS_SELECTOR, "#files .picture img")
        self.driver.execute_script("arguments[0].scrollIntoView()", thumbnail)
        page.wait_for(lambda: self.driver.execute_script(
            "return arguments[0].complete && arguments[0].naturalWidth > 0", thumbnail),
            what="the thumbnail")
        thumbnail.click()
        viewer = self.driver.find_element(By.CSS_SELECTOR, "#viewer img")
        width = page.wait_for(lambda: self.driver.execute_script(
            "return document.getElementById('viewer').open && arguments[0].naturalWidth",
            viewer), what="the larger view")
        self.assertEqual(width, thumbnail.get_property("naturalWidth"))
        self.driver.find_element(By.CSS_SELECTOR, "#viewer .close").click()
        self.assertFalse(self.driver.execute_script("return document.getElementById('viewer').open"))

    def test_each_link_is_its_pictures_own_address(self):
        # "Save link as", "Open in new tab" and "Copy link" take a link's address: it must be
        # the picture's own (an object URL), named for download as the picture is; a click on
        # it saves exactly the picture.
        links = self.driver.execute_script("""
            return Array.from(document.querySelectorAll('#files .jpeg a'),
                              (link) => [link.protocol, link.download, link.textContent]);""")
        expected = {OUTPUTS[place][0]: OUTPUTS[place][1] for place in OUTPUTS if OUTPUTS[place]}
        self.assertEqual(sorted(link[2] for link in links), sorted(expected))
        for protocol, download, shown in links:
            self.assertEqual((protocol, download), ("blob:", shown))
        link = self.driver.find_element(By.CSS_SELECTOR, "#files .jpeg a")
        name = link.text
        link.click()
        path = page.wait_for(lambda: os.path.exists(os.path.join(self.downloads, name)) and
                             not any(n.endswith(".crdownload") for n in os.listdir(self.downloads)) and
                             os.path.join(self.downloads, name), what="the picture's download")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), expected[name])

    def test_a_picture_the_browser_cannot_draw_says_so(self):
        cell = page.wait_for(lambda: self.driver.execute_script("""
            const row = Array.from(document.querySelectorAll('#files .rows .row'))
                .find((row) => row.firstChild.textContent === 'cut-in-scan2.cam');
            const cell = row.querySelector('.picture');
            return cell.querySelector('img') ? null : [cell.textContent, row.querySelector('.jpeg a').download];
        """), what="the placeholder")
        self.assertEqual(cell, [en("IncompletePicture"), "cut-in-scan2.jpg"])

    def test_loads_nothing_from_other_sites(self):
        origins = self.driver.execute_script(
            "return performance.getEntriesByType('resource').map((e) => new URL(e.name).origin)")
        self.assertTrue(origins)
        self.assertEqual(set(origins), {self.server.url.rstrip("/")})
        policy = self.driver.execute_script(
            "return document.querySelector('meta[http-equiv=Content-Security-Policy]').content")
        self.assertIn("default-src 'self'", policy)


class JapanesePage(PageTest):
    """A browser whose language is Japanese: a dropped folder, the texts, and the switch."""

    language = "ja"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        page.drop(cls.driver, [CARD])
        page.wait_listed(cls.driver, len(device.CARD))
        cls.listed = page.rows(cls.driver)
        cls.counts = (page.text(cls.driver, "status-0"), page.text(cls.driver, "status-1"))
        cls.convert_all()
        cls.converted = page.rows(cls.driver)
        cls.message = page.text(cls.driver, "message")
        screenshot(cls.driver, "ja.png")

    def test_page_speaks_the_browsers_language(self):
        self.assertEqual(self.driver.execute_script("return document.documentElement.lang"), "ja")
        self.assertEqual(self.driver.find_element(By.ID, "convert-all").text,
                         device.command("ConvertAllCommand", "ja"))
        titles = self.driver.find_elements(By.CSS_SELECTOR, "[role=columnheader]")[:3]
        self.assertEqual([title.text for title in titles], [device.text(title, "ja") for title in ("NameColumn", "FolderColumn", "SizeColumn")])
        total = sum(size for _, _, size in expected_rows())
        self.assertEqual(self.counts, (device.text("FileCountOther", "ja", len(device.CARD)),
                                       "{:,} {}".format(total, device.text("ByteUnitOther", "ja"))))

    def test_dropped_folder_lists_as_the_folder_dialog_does(self):
        self.assertEqual([row[:3] for row in self.listed],
                         [[name, folder, "{:,}".format(size)] for name, folder, size in expected_rows()])

    def test_outcomes_are_in_japanese(self):
        self.assertEqual(self.message, device.text("RunFinished", "ja"))
        self.assert_outcomes(self.converted, "ja")

    def test_switch_changes_every_text(self):
        language = self.driver.find_element(By.ID, "language")
        language.find_element(By.CSS_SELECTOR, "option[value=en]").click()
        try:
            self.assertEqual(self.driver.find_element(By.ID, "convert-all").text,
                             device.command("ConvertAllCommand", "en"))
            self.assertEqual(page.text(self.driver, "message"), en("RunFinished"))
            self.assert_outcomes(page.rows(self.driver), "en")
        finally:
            language.find_element(By.CSS_SELECTOR, "option[value=ja]").click()
        self.assert_outcomes(page.rows(self.driver), "ja")


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


class SavingToFolder(PageTest, PrivateFolder):
    """Saving into a folder: the replace question, and no partial file ever."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.use_private_folder()
        cls.give_card()
        cls.convert_all()

    def notes(self):
        return {place_of(name, folder): result.split("\n")[-1]
                for name, folder, _, result, _ in page.rows(self.driver)
                if OUTPUTS[place_of(name, folder)]}

    def test_saving_asks_before_replacing_and_never_leaves_a_partial_file(self):
        expected = {zip_path(place): OUTPUTS[place][1] for place in OUTPUTS if OUTPUTS[place]}
        order = [place_of(name, folder) for name, folder, _, _, _ in page.rows(self.driver)
                 if OUTPUTS[place_of(name, folder)]]
        question = lambda path: en("ReplaceQuestion", "saved/" + path)

        # Into an empty folder: no question, every JPEG as glimmer-convert writes it.
        self.assertEqual(self.save([]), [])
        self.assertEqual(self.saved(), expected)
        self.assertEqual(set(self.notes().values()), {en("Saved")})

        # No keeps the first file, Yes replaces the second, Yes to All every other one.
        self.overwrite_saved("old")
        asked = self.save(["no", "yes", "all"])
        self.assertEqual(asked, [question(zip_path(place)) for place in order[:3]])
        saved = self.saved()
        self.assertEqual(saved[zip_path(order[0])], b"old")
        for place in order[1:]:
            self.assertEqual(saved[zip_path(place)], OUTPUTS[place][1])
        notes = self.notes()
        self.assertEqual(notes[order[0]], en("NotReplaced"))
        self.assertEqual({notes[place] for place in order[1:]}, {en("Saved")})

        # Cancel ends the save: nothing is written.
        self.overwrite_saved("old")
        self.assertEqual(self.save(["cancel"]), [question(zip_path(order[0]))])
        self.assertEqual(set(self.saved().values()), {b"old"})

        # Writes that fail (a full disk) leave each existing file as it was and no new file,
        # even when the browser lets go of an aborted file only after abort() has resolved,
        # as Chromium does on a busy machine: the file the save created is removed all the same.
        self.overwrite_saved("old", removed=zip_path(order[-1]))
        self.driver.execute_script("""
            FileSystemWritableFileStream.prototype.write = () =>
                Promise.reject(new DOMException("The disk is full.", "QuotaExceededError"));
            const abort = FileSystemWritableFileStream.prototype.abort;
            window.lateAborts = [];
            FileSystemWritableFileStream.prototype.abort = function (reason) {
              window.lateAborts.push(new Promise((resolve) => setTimeout(resolve, 100))
                  .then(() => abort.call(this, reason)));
              return Promise.resolve();
            };
        """)
        self.save(["all"])
        self.assertIs(self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            Promise.all(window.lateAborts).then(() => done(window.lateAborts.length > 0),
                                                (error) => done(String(error)));
        """), True)
        saved = self.saved()
        self.assertNotIn(zip_path(order[-1]), saved)
        self.assertEqual(set(saved.values()), {b"old"})
        self.assertEqual(len(saved), len(order) - 1)
        self.assertEqual(set(self.notes().values()), {en("CannotWriteJpg")})


class TwoCards(PageTest, PrivateFolder):
    """Two card folders dropped together whose files have the same places inside them: every
    picture keeps its card's name in the ZIP and in a folder saved to, and two pictures that
    would still take one place are named in the page's message."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # The ZIP as a browser without service workers gets it: made whole, then downloaded.
        without_service_worker(cls.driver)
        cls.use_private_folder()
        cls.cards = os.path.join(WORK, "two-cards")
        shutil.rmtree(cls.cards, ignore_errors=True)
        cls.sources = {
            "cardA/DCIM/100CAM/PIC0001.cam": "scans-sunset.cam",
            "cardB/DCIM/100CAM/PIC0001.cam": "scans-rings.cam",
            # The same place on a file system that ignores letter case: only one can be kept.
            "cardB/DCIM/100CAM/pic0001.CAM": "jpeg-bands.cam",
        }
        for place, source in cls.sources.items():
            os.makedirs(os.path.dirname(os.path.join(cls.cards, place)), exist_ok=True)
            shutil.copyfile(os.path.join(CAMS, source), os.path.join(cls.cards, place))
        page.drop(cls.driver, [os.path.join(cls.cards, "cardA"), os.path.join(cls.cards, "cardB")])
        page.wait_listed(cls.driver, 3)
        cls.convert_all()

    def test_each_card_keeps_its_pictures_in_the_zip_and_the_folder(self):
        expected = {
            "cardA/DCIM/100CAM/PIC0001.jpg": self.cam_output("scans-sunset.cam"),
            "cardB/DCIM/100CAM/PIC0001.jpg": self.cam_output("scans-rings.cam"),
        }
        self.click("download-zip")
        path = page.wait_for(lambda: finished_download(self.downloads, "glimmer.zip"),
                             what="the ZIP file")
        self.assertEqual(streamed_downloads(self.driver), 0)
        with zipfile.ZipFile(path) as archive:
            self.assertEqual({name: archive.read(name) for name in archive.namelist()}, expected)
        left_out = en("LeftOut", "cardB/DCIM/100CAM/pic0001.CAM")
        self.assertIn(left_out, page.text(self.driver, "message"))

        self.save([])
        self.assertEqual(self.saved(), expected)
        self.assertIn(left_out, page.text(self.driver, "message"))

    def cam_output(self, source):
        """glimmer-convert's output for one of the test CAM files."""
        place = next(place for place, test_file in device.CARD if test_file == source)
        return OUTPUTS[place][1]


class OddNames(PageTest, PrivateFolder):
    """Names that are legal where they were made but mean a path elsewhere: backslashes, which
    Windows reads as separators ("..\\..\\evil.cam"), and a colon after a letter, which it reads as
    a drive ("C:x.cam"). No entry of the ZIP, and no file saved, lands outside its folder."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.use_private_folder()
        cls.root = os.path.join(WORK, "odd-names")
        shutil.rmtree(cls.root, ignore_errors=True)
        cls.odd = os.path.join(cls.root, "odd")
        os.makedirs(os.path.join(cls.odd, "up\\..\\.."))
        for place in ("..\\..\\evil.cam", "C:x.cam", "up\\..\\../deep.cam"):
            shutil.copyfile(os.path.join(CAMS, "scans-sunset.cam"), os.path.join(cls.odd, place))
        cls.loose = os.path.join(cls.root, "D:loose.cam")
        shutil.copyfile(os.path.join(CAMS, "scans-rings.cam"), cls.loose)

    def zip_names(self):
        for name in os.listdir(self.downloads):
            os.remove(os.path.join(self.downloads, name))
        self.click("download-zip")
        path = page.wait_for(lambda: finished_download(self.downloads, "glimmer.zip"),
                             what="the ZIP file")
        with zipfile.ZipFile(path) as archive:
            infos = archive.infolist()
            for info in infos:
                with self.subTest(entry=info.filename):
                    self.assertEqual(info.create_system, 3)  # Unix: "\\" is no separator
                    self.assertTrue(info.flag_bits & 0x800)  # UTF-8 names
            unpacked = os.path.join(WORK, "odd-names-unpacked")
            shutil.rmtree(unpacked, ignore_errors=True)
            archive.extractall(unpacked)
        return sorted(info.filename for info in infos), unpacked

    def test_no_zip_entry_or_saved_file_leaves_its_folder(self):
        # The folder dialog gives a folder's backslashes as separators ("up/../.."), a drop
        # gives them as they are: either way the ZIP holds no ".." and no "\\".
        ways = [(lambda: page.give_folder(self.driver, self.odd), "odd/up/__/__/deep.jpg"),
                (lambda: page.drop(self.driver, [self.odd]), "odd/up_.._../deep.jpg")]
        for give, deep in ways:
            expected = sorted(["D_loose.jpg", "odd/.._.._evil.jpg", "odd/C_x.jpg", deep])
            if page.row_count(self.driver) > 0:
                page.clear_list(self.driver)
            give()
            page.wait_listed(self.driver, 3)
            page.drop(self.driver, [self.loose])
            page.wait_listed(self.driver, 4)
            self.assertEqual(sorted(row[0] for row in page.rows(self.driver)),
                             ["..\\..\\evil.cam", "C:x.cam", "D:loose.cam", "deep.cam"])
            self.convert_all()
            names, unpacked = self.zip_names()
            self.assertEqual(names, expected)
            for name in names:
                parts = name.split("/")
                self.assertNotIn("..", parts)
                self.assertFalse(re.match(r"^[A-Za-z]:", name) or name.startswith("/") or "\\" in name)
            found = sorted(os.path.relpath(os.path.join(folder, name), unpacked)
                           for folder, _, files in os.walk(unpacked) for name in files)
            self.assertEqual(found, expected)
        self.save([])
        self.assertEqual(sorted(self.saved()), expected)

    def test_the_pages_rule_takes_the_whole_name(self):
        # No file system hands the page such names, but a name cut at U+0000 on its way to the
        # rule would come back shorter, and characters past ASCII must pass unchanged.
        portable = self.driver.execute_async_script("""
            const done = arguments[0];
            import('./rules.js').then(
              (rules) => done(['a\\u0000b/c', '..', 'x\\u0085\\u5199\\u{1F4F7}.jpg'].map(rules.portableName)),
              (error) => done(String(error)));
        """)
        self.assertEqual(portable, ["a_b_c", "__", "x\u0085\u5199\U0001F4F7.jpg"])


class RunControl(PageTest):
    """Convert of a selection, Stop, and a page that answers while a big file converts."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folders = os.path.join(WORK, "runs")
        shutil.rmtree(cls.folders, ignore_errors=True)
        many = os.path.join(cls.folders, "many")
        os.makedirs(many)
        device.big_cam(CAMS, os.path.join(many, "P0000.cam"), 4)
        for i in range(1, 60):
            os.link(os.path.join(many, "P0000.cam"), os.path.join(many, "P%04d.cam" % i))
        mixed = os.path.join(cls.folders, "mixed")
        os.makedirs(mixed)
        for name, source in (("a.cam", "scans-sunset.cam"), ("b.cam", "not-cam.cam"),
                             ("c.cam", "jpeg-bands.cam")):
            shutil.copyfile(os.path.join(CAMS, source), os.path.join(mixed, name))
        big = os.path.join(cls.folders, "big")
        os.makedirs(big)
        device.big_cam(CAMS, os.path.join(big, "a-big.cam"), 64)
        shutil.copyfile(os.path.join(CAMS, "scans-rings.cam"), os.path.join(big, "b-small.cam"))

    def give(self, name, count):
        if page.row_count(self.driver) > 0:
            page.clear_list(self.driver)
        page.give_folder(self.driver, os.path.join(self.folders, name))
        page.wait_listed(self.driver, count)

    def test_convert_ends_at_the_first_file_that_fails(self):
        self.give("mixed", 3)
        # Convert with nothing selected says so, and converts nothing.
        self.click("convert")
        self.assertEqual(page.text(self.driver, "message"),
                         en("NothingSelected"))
        self.assertEqual({row[3] for row in page.rows(self.driver)}, {""})
        rows = self.driver.find_elements(By.CSS_SELECTOR, "#files .rows .row")
        rows[0].click()
        page.ActionChains(self.driver).key_down(page.Keys.SHIFT).click(rows[2]) \
            .key_up(page.Keys.SHIFT).perform()
        self.click("convert")
        page.wait_until_idle(self.driver)
        self.assertEqual([row[3] for row in page.rows(self.driver)],
                         [en("Converted"), en("NotCamFile", "b.cam"), ""])
        self.assertEqual(page.text(self.driver, "message"), en("RunFinished"))

    def test_stop_ends_the_run_and_keeps_nothing_that_comes_after_it(self):
        self.give("many", 60)
        # Stop is clicked the moment the first results are shown.
        self.driver.execute_script("""
            const progress = document.getElementById('progress');
            const status = document.getElementById('status-1');
            const observer = new MutationObserver(() => {
              if (progress.value > 0) {
                observer.disconnect();
                window.doneAtStop = progress.value;
                document.getElementById('stop').click();
              }
            });
            observer.observe(status, { childList: true, characterData: true, subtree: true });
        """)
        self.convert_all()
        self.assertEqual(page.text(self.driver, "message"), en("RunAborted"))
        self.assertEqual(page.text(self.driver, "status-0"), en("FileCountOther", 60))
        done = self.driver.execute_script("return window.doneAtStop")
        self.assertLess(done, 60)
        # What the worker finished after the click never shows, however long one waits.
        time.sleep(1)
        results = [row[3] for row in page.rows(self.driver)]
        self.assertEqual(results, [en("Converted")] * done + [""] * (60 - done))
        # Nor does it go into a ZIP.
        self.click("download-zip")
        self.assertEqual(page.text(self.driver, "message"),
                         en("ZipHoldsOne" if done == 1 else "ZipHoldsOther", done))

    def test_page_answers_while_a_big_file_converts(self):
        self.give("big", 2)
        # Counts the page's own turns (zero-delay timers) while the big file is the current
        # one: a page that converted by itself would have none until the file is done.
        self.driver.execute_script("""
            window.turns = 0;
            window.turnsDuringBigFile = null;
            const tick = () => { window.turns++; setTimeout(tick, 0); };
            tick();
            const status = document.getElementById('status-0');
            let startTurns = null;
            new MutationObserver(() => {
              if (status.textContent.endsWith('a-big.cam')) startTurns = window.turns;
              else if (startTurns !== null && window.turnsDuringBigFile === null)
                window.turnsDuringBigFile = window.turns - startTurns;
            }).observe(status, { childList: true, characterData: true, subtree: true });
        """)
        self.convert_all()
        self.assertEqual([row[3] for row in page.rows(self.driver)], [en("Converted")] * 2)
        self.assertGreater(self.driver.execute_script("return window.turnsDuringBigFile"), 0)


class Keyboard(PageTest):
    """The page by keyboard alone, with real key presses: the column titles, the list as in a
    desktop list view, and the pictures."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = fresh_folder("eight")
        for letter in "abcdefgh":
            os.link(os.path.join(CAMS, "scans-sunset.cam"), os.path.join(cls.folder, letter + ".cam"))
        page.give_folder(cls.driver, cls.folder)
        page.wait_listed(cls.driver, 8)

    def press(self, *keys):
        """Presses keys in turn; a tuple is a chord (modifiers first)."""
        actions = page.ActionChains(self.driver)
        for key in keys:
            if isinstance(key, tuple):
                *modifiers, last = key
                for modifier in modifiers:
                    actions.key_down(modifier)
                actions.send_keys(last)
                for modifier in reversed(modifiers):
                    actions.key_up(modifier)
            else:
                actions.send_keys(key)
        actions.perform()

    def tab_to(self, script, limit=30):
        """Presses Tab until the element the script returns has the focus."""
        for _ in range(limit):
            if self.driver.execute_script("return document.activeElement === (%s)" % script):
                return
            self.press(page.Keys.TAB)
        self.fail("Tab never reaches " + script)

    def selected(self):
        return self.driver.execute_script("""
            return Array.from(document.querySelectorAll('#files .rows [role=row]'))
                .filter((row) => row.getAttribute('aria-selected') === 'true')
                .map((row) => row.firstElementChild.textContent);""")

    def focused_row(self):
        return self.driver.execute_script("""
            const grid = document.getElementById('files');
            const row = document.getElementById(grid.getAttribute('aria-activedescendant'));
            const style = getComputedStyle(row);
            return [row.firstElementChild.textContent, style.outlineStyle, parseFloat(style.outlineWidth)];""")

    def test_titles_sort_and_the_list_selects_by_keyboard(self):
        self.driver.execute_script("document.activeElement.blur()")
        # The Name title: Enter sorts by name, Space again reverses.
        self.tab_to("document.querySelector('[data-column=name] button')")
        self.press(page.Keys.ENTER)
        self.assertEqual([row[0] for row in page.rows(self.driver)], [c + ".cam" for c in "abcdefgh"])
        self.press(page.Keys.SPACE)
        self.assertEqual([row[0] for row in page.rows(self.driver)], [c + ".cam" for c in "hgfedcba"])
        self.press(page.Keys.ENTER)

        # The list shows where the focus is.
        self.tab_to("document.getElementById('files')")
        name, outline, width = self.focused_row()
        self.assertEqual(name, "a.cam")
        self.assertNotEqual(outline, "none")
        self.assertGreaterEqual(width, 1)

        down, up, shift, ctrl = page.Keys.ARROW_DOWN, page.Keys.ARROW_UP, page.Keys.SHIFT, page.Keys.CONTROL
        self.press(down)
        self.assertEqual(self.selected(), ["b.cam"])
        self.press((shift, down), (shift, down))
        self.assertEqual(self.selected(), ["b.cam", "c.cam", "d.cam"])
        self.press((shift, up))
        self.assertEqual(self.selected(), ["b.cam", "c.cam"])
        # Ctrl moves the focus alone; Ctrl+Space adds the focused row or takes it out.
        self.press((ctrl, down), (ctrl, down), (ctrl, page.Keys.SPACE))
        self.assertEqual(self.focused_row()[0], "e.cam")
        self.assertEqual(self.selected(), ["b.cam", "c.cam", "e.cam"])
        self.press((ctrl, up), (ctrl, page.Keys.SPACE))
        self.assertEqual(self.selected(), ["b.cam", "c.cam", "d.cam", "e.cam"])
        self.press((ctrl, page.Keys.SPACE))
        self.assertEqual(self.selected(), ["b.cam", "c.cam", "e.cam"])
        # Space selects the focused row alone; End and Home go to the ends.
        self.press(page.Keys.SPACE)
        self.assertEqual(self.selected(), ["d.cam"])
        self.press(page.Keys.END)
        self.assertEqual(self.selected(), ["h.cam"])
        self.press(page.Keys.HOME, (shift, page.Keys.PAGE_DOWN))
        self.assertEqual(self.selected()[0], "a.cam")
        self.assertGreater(len(self.selected()), 1)
        self.press((ctrl, "a"))
        self.assertEqual(self.selected(), [c + ".cam" for c in "abcdefgh"])

        # Convert the selection, then open a picture with Enter, from the list and from its
        # thumbnail, and close it with Escape.
        self.press(page.Keys.HOME, (shift, down))
        self.click("convert")
        page.wait_until_idle(self.driver)
        self.assertEqual([row[3] for row in page.rows(self.driver)], [en("Converted")] * 2 + [""] * 6)
        self.driver.find_element(By.ID, "files").send_keys(page.Keys.ENTER)
        viewer = self.driver.find_element(By.ID, "viewer")
        page.wait_for(lambda: viewer.get_attribute("open") is not None, what="the larger view")
        self.assertEqual(viewer.find_element(By.CSS_SELECTOR, ".name").text, "b.jpg")
        self.press(page.Keys.ESCAPE)
        page.wait_for(lambda: viewer.get_attribute("open") is None, what="the view to close")
        self.tab_to("document.querySelector('#files .row .thumbnail')")
        self.press(page.Keys.ENTER)
        page.wait_for(lambda: viewer.get_attribute("open") is not None, what="the larger view")
        self.press(page.Keys.ESCAPE)


class AccessibilityTree(PageTest):
    """What assistive technology gets, read from the browser's own accessibility tree."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.give_card()

    def tree(self):
        return self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]

    @staticmethod
    def named(nodes, role):
        return [node.get("name", {}).get("value", "") for node in nodes
                if node.get("role", {}).get("value") == role and not node.get("ignored")]

    @staticmethod
    def selected_rows(nodes):
        rows = []
        for node in nodes:
            if node.get("role", {}).get("value") != "row" or node.get("ignored"):
                continue
            properties = {p["name"]: p["value"].get("value") for p in node.get("properties", [])}
            if properties.get("selected"):
                rows.append(node.get("name", {}).get("value", ""))
        return rows

    def test_controls_have_names_and_selected_rows_say_so(self):
        nodes = self.tree()
        self.assertIn(en("LanguageLabel"), self.named(nodes, "combobox"))
        self.assertEqual(self.named(nodes, "progressbar"), [en("ProgressLabel")])
        self.assertEqual(self.named(nodes, "grid"), [en("ListLabel")])
        self.assertEqual(self.selected_rows(nodes), [])
        rows = self.driver.find_elements(By.CSS_SELECTOR, "#files .rows .row")
        rows[1].click()
        page.ActionChains(self.driver).key_down(page.Keys.CONTROL).click(rows[3]) \
            .key_up(page.Keys.CONTROL).perform()
        selected = self.selected_rows(self.tree())
        self.assertEqual(len(selected), 2)
        shown = page.rows(self.driver)
        self.assertTrue(selected[0].startswith(shown[1][0]), selected)
        self.assertTrue(selected[1].startswith(shown[3][0]), selected)
        grid = self.driver.find_element(By.ID, "files")
        self.assertEqual(grid.get_attribute("aria-rowcount"), str(len(device.CARD) + 1))

    def test_a_run_is_announced_politely_and_not_per_file(self):
        # Every text a polite live region (role status, aria-live polite) takes during a run.
        self.driver.execute_script("""
            window.spoken = [];
            for (const region of document.querySelectorAll('[aria-live=polite], [role=status]')) {
              new MutationObserver(() => {
                if (region.textContent) window.spoken.push(region.textContent);
              }).observe(region, { childList: true, characterData: true, subtree: true });
            }
        """)
        self.convert_all()
        spoken = self.driver.execute_script("return window.spoken")
        self.assertEqual(spoken, [en("RunAnnouncementOther", len(device.CARD)), en("RunFinished")])


# Every way the list's layout can fail a reader at the window's width, as a list of faults:
# the page wider than the window, column titles on top of each other, cells of a row on top of
# each other or outside it, a name, size or outcome cut off.
LAYOUT_FAULTS = """
const faults = [];
const width = document.documentElement.clientWidth;
if (document.documentElement.scrollWidth > width) {
  faults.push('the page is ' + document.documentElement.scrollWidth + ' px wide');
}
const overlap = (a, b) => a.left < b.right - 1 && b.left < a.right - 1 && a.top < b.bottom - 1 && b.top < a.bottom - 1;
const shown = (element) => element.getClientRects().length > 0 && getComputedStyle(element).visibility !== 'hidden';
const titles = Array.from(document.querySelectorAll('#files [role=columnheader]')).filter(shown);
titles.forEach((a, i) => titles.slice(i + 1).forEach((b) => {
  if (overlap(a.getBoundingClientRect(), b.getBoundingClientRect())) {
    faults.push('titles ' + a.textContent + ' and ' + b.textContent + ' overlap');
  }
}));
for (const title of titles) {
  if (title.scrollWidth > title.clientWidth + 1) faults.push('title ' + title.textContent + ' is cut');
}
for (const row of document.querySelectorAll('#files .rows [role=row]')) {
  const box = row.getBoundingClientRect();
  if (box.top > window.innerHeight) continue;
  const cells = Array.from(row.children).filter(shown);
  cells.forEach((a, i) => {
    const r = a.getBoundingClientRect();
    if (r.left < box.left - 1 || r.right > box.right + 1 || r.top < box.top - 1 || r.bottom > box.bottom + 1) {
      faults.push(a.className + ' of ' + row.firstChild.textContent + ' is outside its row');
    }
    cells.slice(i + 1).forEach((b) => {
      if (overlap(r, b.getBoundingClientRect())) {
        faults.push(a.className + ' and ' + b.className + ' of ' + row.firstChild.textContent + ' overlap');
      }
    });
    if (['name', 'size', 'result', 'jpeg'].includes(a.className.split(' ')[0]) &&
        (a.scrollWidth > a.clientWidth + 1 || a.scrollHeight > a.clientHeight + 1)) {
      faults.push(a.className + ' of ' + row.firstChild.textContent + ' is cut: ' + a.textContent);
    }
  });
}
return faults;
"""


class Layout(PageTest):
    """The list laid out for a phone (390 px wide) and a desktop (1280 px), in both languages:
    nothing overlaps, nothing is cut off. Takes the README's screenshots."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.give_card()
        cls.convert_all()

    def lay_out(self, width, height):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        page.wait_for(lambda: self.driver.execute_script(
            "return document.documentElement.clientWidth") == width, what="the new width")
        self.driver.execute_script("document.querySelector('main').dispatchEvent(new Event('scroll'))")
        time.sleep(0.3)

    def test_nothing_overlaps_or_is_cut_on_a_phone_or_a_desktop(self):
        language = self.driver.find_element(By.ID, "language")
        try:
            for code in ("en", "ja"):
                language.find_element(By.CSS_SELECTOR, "option[value=%s]" % code).click()
                for width, height in ((390, 844), (1280, 800)):
                    with self.subTest(language=code, width=width):
                        self.lay_out(width, height)
                        screenshot(self.driver, "page-%d-%s.png" % (width, code))
                        self.assertEqual(self.driver.execute_script(LAYOUT_FAULTS), [])
        finally:
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
            language.find_element(By.CSS_SELECTOR, "option[value=en]").click()


class KeepingWork(PageTest):
    """Work is not thrown away unasked: a second folder adds to the list, the same file given
    twice is listed once, the list is cleared only after a question while pictures are unsaved,
    leaving the page asks first, and the language chosen stays."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.other = fresh_folder("other-card")
        shutil.copyfile(os.path.join(CAMS, "scans-rings.cam"), os.path.join(cls.other, "rings.cam"))

    def asks_before_leaving(self):
        """Whether the page asks before it is left or reloaded. Headless Chromium under its
        driver never shows that question, so the test asks the page as the browser does: a
        page that wants the question cancels the event."""
        return self.driver.execute_script("""
            const event = new Event('beforeunload', { cancelable: true });
            window.dispatchEvent(event);
            return event.defaultPrevented;""")

    def reload_page(self):
        self.driver.refresh()
        page.wait_for(lambda: self.driver.find_element(By.ID, "convert-all").text != "",
                      what="the page")

    def test_lists_add_up_and_nothing_is_lost_unasked(self):
        self.give_card()
        page.drop(self.driver, [CARD, self.other])
        page.wait_listed(self.driver, len(device.CARD) + 1)
        self.assertIn(["rings.cam", "other-card"], [row[:2] for row in page.rows(self.driver)])

        # Nothing converted: the page can be left without a question.
        self.assertFalse(self.asks_before_leaving())
        self.reload_page()
        self.give_card()
        self.convert_all()
        # Converted pictures not yet saved: leaving asks, and so does Clear List.
        self.assertTrue(self.asks_before_leaving())
        self.click("clear")
        dialog = self.driver.find_element(By.ID, "question")
        page.wait_for(lambda: dialog.get_attribute("open") is not None, what="the question")
        self.assertEqual(dialog.find_element(By.CSS_SELECTOR, ".text").text,
                         en("ClearQuestion"))
        dialog.find_element(By.CSS_SELECTOR, 'button[data-answer="cancel"]').click()
        self.assertEqual(page.row_count(self.driver), len(device.CARD))
        # Once they are in a ZIP, the page lets go without a question.
        self.click("download-zip")
        self.assertFalse(self.asks_before_leaving())

    def test_the_language_chosen_stays(self):
        language = self.driver.find_element(By.ID, "language")
        language.find_element(By.CSS_SELECTOR, "option[value=ja]").click()
        try:
            self.reload_page()
            self.assertEqual(self.driver.find_element(By.ID, "convert-all").text,
                             device.command("ConvertAllCommand", "ja"))
        finally:
            self.driver.find_element(By.CSS_SELECTOR, "#language option[value=en]").click()


class LongList(PageTest):
    """A dropped folder of 1,200 files: the list grows as it is read, only the rows in view
    exist in the page, and every row is there for anyone who scrolls or asks the grid."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = os.path.join(WORK, "long-list")
        shutil.rmtree(cls.folder, ignore_errors=True)
        for i in range(1200):
            place = os.path.join(cls.folder, "%02dCAM" % (i // 100), "P%04d.cam" % i)
            os.makedirs(os.path.dirname(place), exist_ok=True)
            os.link(os.path.join(CAMS, "scans-sunset.cam"), place)
        # Every count the status bar shows while the list grows.
        cls.driver.execute_script("""
            window.counts = [];
            const status = document.getElementById('status-0');
            new MutationObserver(() => window.counts.push(status.textContent))
                .observe(status, { childList: true, characterData: true, subtree: true });
        """)
        page.drop(cls.driver, [cls.folder])
        page.wait_listed(cls.driver, 1200)

    def test_the_count_grows_while_the_folder_is_read(self):
        counts = self.driver.execute_script("return window.counts")
        self.assertEqual(counts[-1], en("FileCountOther", 1200))
        self.assertGreater(len(set(counts)), 1, counts)

    def test_only_the_rows_in_view_exist_and_every_row_can_be_reached(self):
        existing = self.driver.execute_script(
            "return document.querySelectorAll('#files .rows [role=row]').length")
        self.assertLess(existing, 100)
        self.assertEqual(self.driver.find_element(By.ID, "files").get_attribute("aria-rowcount"),
                         "1201")
        shown = page.rows(self.driver)
        self.assertEqual([(row[0], row[1]) for row in shown],
                         [("P%04d.cam" % i, "long-list/%02dCAM" % (i // 100)) for i in range(1200)])
        self.convert_all()
        self.assertEqual({row[3] for row in page.rows(self.driver)}, {en("Converted")})
        self.assertEqual(page.text(self.driver, "message"), en("RunFinished"))


class LargeFiles(PageTest):
    """Files larger than a browser can hold at once: only what is needed is read, and a ZIP is
    made of the pictures' own bytes without copying them."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = fresh_folder("large-files")
        cls.cam = device.padded_cam(CAMS, os.path.join(cls.folder, "padded.cam"), 5 << 30)

    def test_a_5_gib_cam_file_with_a_small_picture_converts(self):
        out = os.path.join(WORK, "large-files-converted")
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        subprocess.run([CONVERTER, "-q", "-o", out, self.cam], check=True, stdin=subprocess.DEVNULL)
        with open(os.path.join(out, "padded.jpg"), "rb") as f:
            expected = f.read()
        page.give_folder(self.driver, self.folder)
        page.wait_listed(self.driver, 1)
        self.assertEqual(page.rows(self.driver)[0][2], "5,368,709,120")
        self.assertEqual(self.driver.execute_script(LAYOUT_FAULTS), [])
        self.convert_all()
        self.assertEqual(page.rows(self.driver)[0][3], en("Converted"))
        self.click("download-zip")
        path = page.wait_for(lambda: finished_download(self.downloads, "glimmer.zip"),
                             what="the ZIP file")
        with zipfile.ZipFile(path) as archive:
            self.assertEqual(archive.read("large-files/padded.jpg"), expected)


    def test_a_zip_past_4_gib_says_where_each_entry_begins(self):
        # Two entries of 2.5 GiB made of a file's own bytes, and a small one behind them, whose
        # place only the ZIP64 records can give. The ZIP is never written out whole: its head
        # and everything behind the large entries are read back and laid around a hole of the
        # same size, which holds what the large file holds, nothing.
        large = os.path.join(self.folder, "large.bin")
        with open(large, "wb") as f:
            f.truncate(5 << 29)
        small = os.urandom(3000)
        self.driver.execute_script("""
            const input = document.createElement('input');
            input.type = 'file';
            input.id = 'zip-input';
            input.hidden = true;
            document.body.append(input);""")
        self.driver.find_element(By.ID, "zip-input").send_keys(large)
        size, head, tail_at, tail = self.driver.execute_async_script("""
            const [small, crc, done] = arguments;
            const base64 = async (blob) => {
              const bytes = new Uint8Array(await blob.arrayBuffer());
              let text = '';
              for (const byte of bytes) text += String.fromCharCode(byte);
              return btoa(text);
            };
            (async () => {
              const { zipBlob } = await import('./zip.js');
              const large = document.getElementById('zip-input').files[0];
              const bytes = Uint8Array.from(atob(small), (c) => c.charCodeAt(0));
              const moment = Date.UTC(2004, 1, 29, 12, 0, 0);
              const entry = (path, data, crc) => ({ path, data, crc, modified: moment, exactModified: moment });
              const zip = zipBlob([entry('a.jpg', large, 0), entry('b.jpg', large, 0),
                                   entry('c.jpg', new Blob([bytes]), crc)]);
              const headSize = 30 + 'a.jpg'.length + 9;
              const tailAt = 2 * (headSize + large.size);
              done([zip.size, await base64(zip.slice(0, headSize)), tailAt,
                    await base64(zip.slice(tailAt - headSize - large.size, tailAt - large.size)) + ' ' +
                    await base64(zip.slice(tailAt))]);
            })().catch((error) => done([0, String(error), 0, '']));
        """, base64.b64encode(small).decode(), zlib.crc32(small))
        self.assertGreater(size, 0, head)
        second_head, tail = tail.split(" ")
        record = 30 + len("a.jpg") + 9
        rebuilt = os.path.join(self.folder, "rebuilt.zip")
        with open(rebuilt, "wb") as f:
            f.write(base64.b64decode(head))
            f.seek(record + (5 << 29))
            f.write(base64.b64decode(second_head))
            f.seek(tail_at)
            f.write(base64.b64decode(tail))
        self.assertEqual(os.path.getsize(rebuilt), size)
        with zipfile.ZipFile(rebuilt) as archive:
            entries = archive.infolist()
            self.assertEqual([(e.filename, e.file_size, e.header_offset) for e in entries],
                             [("a.jpg", 5 << 29, 0), ("b.jpg", 5 << 29, record + (5 << 29)),
                              ("c.jpg", len(small), tail_at)])
            self.assertEqual(archive.read("c.jpg"), small)
        os.remove(large)
        os.remove(rebuilt)

class InstalledPage(PageTest):
    """The page as an app: installable by the browser's own judgement, and listing the CAM
    files the desktop opens it with, which come through the launch queue. Headless Chromium
    cannot install an app and launch it with files, so the test hands the page's own consumer
    of the launch queue what the browser would: handles of files the user chose."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            if (window.launchQueue) {
              const setConsumer = window.launchQueue.setConsumer.bind(window.launchQueue);
              window.launchQueue.setConsumer = (consumer) => {
                window.launchConsumer = consumer;
                setConsumer(consumer);
              };
            }"""})
        cls.driver.refresh()
        page.wait_for(lambda: cls.driver.find_element(By.ID, "convert-all").text != "")

    def test_the_browser_finds_the_page_installable(self):
        manifest = self.driver.execute_cdp_cmd("Page.getAppManifest", {})
        self.assertEqual(manifest["errors"], [])
        self.assertEqual(self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                         {"installabilityErrors": []})

    def test_files_opened_with_the_app_are_listed_and_convert(self):
        sources = {"sunset.cam": "scans-sunset.cam", "bands.cam": "jpeg-bands.cam"}
        files = {}
        for name, source in sources.items():
            with open(os.path.join(CAMS, source), "rb") as f:
                files[name] = base64.b64encode(f.read()).decode()
        outcome = self.driver.execute_async_script("""
            const [files, done] = arguments;
            (async () => {
              if (!window.launchConsumer) return 'no consumer of the launch queue';
              const folder = await (await navigator.storage.getDirectory())
                  .getDirectoryHandle('opened', { create: true });
              const handles = [];
              for (const [name, data] of Object.entries(files)) {
                const handle = await folder.getFileHandle(name, { create: true });
                const writable = await handle.createWritable();
                await writable.write(Uint8Array.from(atob(data), (c) => c.charCodeAt(0)));
                await writable.close();
                handles.push(handle);
              }
              window.launchConsumer({ files: handles, targetURL: location.href });
              return 'launched';
            })().then(done, (error) => done(String(error)));
        """, files)
        self.assertEqual(outcome, "launched")
        page.wait_listed(self.driver, 2)
        self.convert_all()
        self.assertEqual([row[:2] + row[3:] for row in page.rows(self.driver)],
                         [["bands.cam", "", en("Converted"), "bands.jpg"],
                          ["sunset.cam", "", en("Converted"), "sunset.jpg"]])


class FolderPicker(PageTest):
    """Choose Folder... through the browser's folder picker, where it has one: the folder is
    walked as a drop is. The test's folder is one of the browser's private file system, which
    the picker would otherwise give: the same kind of handle, read through the same calls."""

    def test_a_picked_folder_lists_its_cam_files_below_it(self):
        files = {}
        for place, source in (("DCIM/100CAM/a.cam", "scans-sunset.cam"),
                              ("DCIM/100CAM/b.CAM", "jpeg-bands.cam"),
                              ("DCIM/100CAM/notes.txt", "bands.jpg"),
                              ("RECYCLED/c.cam", "scans-rings.cam"),
                              ("top.cam", "scans-rings.cam")):
            with open(os.path.join(CAMS, source), "rb") as f:
                files[place] = base64.b64encode(f.read()).decode()
        outcome = self.driver.execute_async_script("""
            const [files, done] = arguments;
            (async () => {
              const root = await (await navigator.storage.getDirectory())
                  .getDirectoryHandle('picked', { create: true });
              for (const [place, data] of Object.entries(files)) {
                const parts = place.split('/');
                let folder = root;
                for (const part of parts.slice(0, -1)) {
                  folder = await folder.getDirectoryHandle(part, { create: true });
                }
                const writable = await (await folder.getFileHandle(parts.at(-1), { create: true }))
                    .createWritable();
                await writable.write(Uint8Array.from(atob(data), (c) => c.charCodeAt(0)));
                await writable.close();
              }
              window.showDirectoryPicker = async () => root;
              return 'ready';
            })().then(done, (error) => done(String(error)));
        """, files)
        self.assertEqual(outcome, "ready")
        self.click("choose-folder")
        page.wait_listed(self.driver, 3)
        self.assertEqual([row[:2] for row in page.rows(self.driver)],
                         [["a.cam", "picked/DCIM/100CAM"], ["b.CAM", "picked/DCIM/100CAM"],
                          ["top.cam", "picked"]])
        self.convert_all()
        self.assertEqual([row[3] for row in page.rows(self.driver)], [en("Converted")] * 3)


class EngineMissing(PageTest):
    """A page whose engine cannot be loaded says so and is usable again, instead of waiting."""

    @classmethod
    def setUpClass(cls):
        global SITE
        site = SITE
        SITE = os.path.join(WORK, "site-without-engine")
        shutil.rmtree(SITE, ignore_errors=True)
        shutil.copytree(site, SITE, ignore=shutil.ignore_patterns("glimmer-engine.wasm"))
        try:
            super().setUpClass()
        finally:
            SITE = site

    def test_a_run_without_its_engine_ends_with_a_message(self):
        self.give_card()
        self.convert_all()
        self.assertEqual(page.text(self.driver, "message"),
                         en("EngineMissing"))
        self.assertEqual({row[3] for row in page.rows(self.driver)}, {""})
        self.assertTrue(self.driver.find_element(By.ID, "convert-all").is_enabled())


class Offline(PageTest):
    """Once loaded, the page works with its server gone."""

    def test_page_converts_offline_once_loaded(self):
        page.wait_for(lambda: self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.serviceWorker.ready
                .then(() => caches.open('glimmer-page'))
                .then((cache) => cache.match('glimmer-engine.wasm'))
                .then((response) => done(Boolean(response)), () => done(false));
        """), what="the page's files in the cache")
        self.server.stop()
        self.driver.refresh()
        page.wait_for(lambda: self.driver.find_element(By.ID, "convert-all").text ==
                      device.command("ConvertAllCommand", "en"))
        self.give_card()
        self.convert_all()
        self.assert_outcomes(page.rows(self.driver), "en")

    @classmethod
    def tearDownClass(cls):
        page.quit_browser(cls.driver)


def main():
    global SITE, CONVERTER, WORK
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--converter", required=True)
    parser.add_argument("--work", required=True)
    args, rest = parser.parse_known_args()
    SITE, CONVERTER, WORK = args.site, args.converter, os.path.abspath(args.work)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
