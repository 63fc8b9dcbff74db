#!/usr/bin/env python3
# Glimmer's page in a real browser (Debian's Chromium, headless): files given through the
# folder dialog and by a drop, Convert All against glimmer-convert byte for byte, each row's
# outcome, the ZIP's entries and dates, saving into a folder with the replace question, both
# languages, two cards, odd names, Stop, and a page that answers during a long conversion;
# page_usability_test.py holds the rest, run from here.
#   page_test.py --site SITE --converter GLIMMER_CONVERT --work DIR [unittest arguments]
import argparse
import os
import re
import shutil
import sys
import time
import unittest
import zipfile

from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as page  # noqa: E402
import page_fixture as fixture  # noqa: E402
import test_device as device  # noqa: E402
from page_fixture import (  # noqa: E402
    PageTest, PrivateFolder, en, expected_rows, finished_download, place_of, screenshot,
    streamed_downloads, without_service_worker, zip_path)
from page_usability_test import (  # noqa: E402,F401
    AccessibilityTree, EngineMissing, FolderPicker, InstalledPage, Keyboard, KeepingWork, LargeFiles,
    Layout, LongList, Offline)


setUpModule = fixture.prepare


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
            expected = {zip_path(place): place for place in fixture.OUTPUTS if fixture.OUTPUTS[place]}
            self.assertEqual(sorted(entries), sorted(expected))
            self.assertEqual(self.zip_message, en("ZipHoldsOther", len(expected)))
            # Made as the download took it, through the page's service worker.
            self.assertEqual(self.zip_streamed, 1)
            for path, place in expected.items():
                with self.subTest(path=path):
                    info = entries[path]
                    self.assertEqual(archive.read(info), fixture.OUTPUTS[place][1])
                    moment = os.path.getmtime(os.path.join(fixture.CARD, place))
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
        expected = {fixture.OUTPUTS[place][0]: fixture.OUTPUTS[place][1] for place in fixture.OUTPUTS if fixture.OUTPUTS[place]}
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
        page.drop(cls.driver, [fixture.CARD])
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
                if fixture.OUTPUTS[place_of(name, folder)]}

    def test_saving_asks_before_replacing_and_never_leaves_a_partial_file(self):
        expected = {zip_path(place): fixture.OUTPUTS[place][1] for place in fixture.OUTPUTS if fixture.OUTPUTS[place]}
        order = [place_of(name, folder) for name, folder, _, _, _ in page.rows(self.driver)
                 if fixture.OUTPUTS[place_of(name, folder)]]
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
            self.assertEqual(saved[zip_path(place)], fixture.OUTPUTS[place][1])
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
        cls.cards = os.path.join(fixture.WORK, "two-cards")
        shutil.rmtree(cls.cards, ignore_errors=True)
        cls.sources = {
            "cardA/DCIM/100CAM/PIC0001.cam": "scans-sunset.cam",
            "cardB/DCIM/100CAM/PIC0001.cam": "scans-rings.cam",
            # The same place on a file system that ignores letter case: only one can be kept.
            "cardB/DCIM/100CAM/pic0001.CAM": "jpeg-bands.cam",
        }
        for place, source in cls.sources.items():
            os.makedirs(os.path.dirname(os.path.join(cls.cards, place)), exist_ok=True)
            shutil.copyfile(os.path.join(fixture.CAMS, source), os.path.join(cls.cards, place))
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
        return fixture.OUTPUTS[place][1]


class OddNames(PageTest, PrivateFolder):
    """Names that are legal where they were made but mean a path elsewhere: backslashes, which
    Windows reads as separators ("..\\..\\evil.cam"), and a colon after a letter, which it reads as
    a drive ("C:x.cam"). No entry of the ZIP, and no file saved, lands outside its folder."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.use_private_folder()
        cls.root = os.path.join(fixture.WORK, "odd-names")
        shutil.rmtree(cls.root, ignore_errors=True)
        cls.odd = os.path.join(cls.root, "odd")
        os.makedirs(os.path.join(cls.odd, "up\\..\\.."))
        for place in ("..\\..\\evil.cam", "C:x.cam", "up\\..\\../deep.cam"):
            shutil.copyfile(os.path.join(fixture.CAMS, "scans-sunset.cam"), os.path.join(cls.odd, place))
        cls.loose = os.path.join(cls.root, "D:loose.cam")
        shutil.copyfile(os.path.join(fixture.CAMS, "scans-rings.cam"), cls.loose)

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
            unpacked = os.path.join(fixture.WORK, "odd-names-unpacked")
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
        cls.folders = os.path.join(fixture.WORK, "runs")
        shutil.rmtree(cls.folders, ignore_errors=True)
        many = os.path.join(cls.folders, "many")
        os.makedirs(many)
        device.big_cam(fixture.CAMS, os.path.join(many, "P0000.cam"), 4)
        for i in range(1, 60):
            os.link(os.path.join(many, "P0000.cam"), os.path.join(many, "P%04d.cam" % i))
        mixed = os.path.join(cls.folders, "mixed")
        os.makedirs(mixed)
        for name, source in (("a.cam", "scans-sunset.cam"), ("b.cam", "not-cam.cam"),
                             ("c.cam", "jpeg-bands.cam")):
            shutil.copyfile(os.path.join(fixture.CAMS, source), os.path.join(mixed, name))
        big = os.path.join(cls.folders, "big")
        os.makedirs(big)
        device.big_cam(fixture.CAMS, os.path.join(big, "a-big.cam"), 64)
        shutil.copyfile(os.path.join(fixture.CAMS, "scans-rings.cam"), os.path.join(big, "b-small.cam"))

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
        # Nor does it go into a ZIP. The page tells what the ZIP holds once the browser has
        # begun to take it, which may be a round trip to the page's service worker later.
        self.click("download-zip")
        message = page.wait_for(
            lambda: page.text(self.driver, "message") != en("RunAborted")
            and page.text(self.driver, "message"), what="the ZIP's message")
        self.assertEqual(message, en("ZipHoldsOne" if done == 1 else "ZipHoldsOther", done))

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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--converter", required=True)
    parser.add_argument("--work", required=True)
    args, rest = parser.parse_known_args()
    fixture.configure(args.site, args.converter, os.path.abspath(args.work))
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
