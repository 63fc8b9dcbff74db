#!/usr/bin/env python3
# Glimmer's page for everyone and at scale: real keys, the accessibility tree, the layout at a
# phone's and a desktop's width, work kept across drops and leaving, 1,200 files, a 5 GiB file,
# the page installed as an app, the folder picker, a missing engine and the page offline.
# Run through page_test.py, which is given the site, the converter and the work folder.
import base64
import os
import shutil
import subprocess
import sys
import time
import zipfile
import zlib

from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_driver as page  # noqa: E402
import page_fixture as fixture  # noqa: E402
import test_device as device  # noqa: E402
from page_fixture import (  # noqa: E402
    PageTest, en, finished_download, fresh_folder, screenshot)

setUpModule = fixture.prepare


class Keyboard(PageTest):
    """The page by keyboard alone, with real key presses: the column titles, the list as in a
    desktop list view, and the pictures."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = fresh_folder("eight")
        for letter in "abcdefgh":
            os.link(os.path.join(fixture.CAMS, "scans-sunset.cam"), os.path.join(cls.folder, letter + ".cam"))
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
        shutil.copyfile(os.path.join(fixture.CAMS, "scans-rings.cam"), os.path.join(cls.other, "rings.cam"))

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
        page.drop(self.driver, [fixture.CARD, self.other])
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
        # Once they are in a ZIP, the page lets go without a question. The ZIP is made while the
        # browser takes it, and only then are its pictures counted as saved.
        self.click("download-zip")
        page.wait_for(lambda: finished_download(self.downloads, "glimmer.zip"),
                      what="the ZIP file")
        page.wait_for(lambda: not self.asks_before_leaving(), what="the page letting go")

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
        cls.folder = os.path.join(fixture.WORK, "long-list")
        shutil.rmtree(cls.folder, ignore_errors=True)
        for i in range(1200):
            place = os.path.join(cls.folder, "%02dCAM" % (i // 100), "P%04d.cam" % i)
            os.makedirs(os.path.dirname(place), exist_ok=True)
            os.link(os.path.join(fixture.CAMS, "scans-sunset.cam"), place)
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
        cls.cam = device.padded_cam(fixture.CAMS, os.path.join(cls.folder, "padded.cam"), 5 << 30)

    def test_a_5_gib_cam_file_with_a_small_picture_converts(self):
        out = os.path.join(fixture.WORK, "large-files-converted")
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        subprocess.run([fixture.CONVERTER, "-q", "-o", out, self.cam], check=True, stdin=subprocess.DEVNULL)
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
            with open(os.path.join(fixture.CAMS, source), "rb") as f:
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
            with open(os.path.join(fixture.CAMS, source), "rb") as f:
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
        site = fixture.SITE
        fixture.SITE = os.path.join(fixture.WORK, "site-without-engine")
        shutil.rmtree(fixture.SITE, ignore_errors=True)
        shutil.copytree(site, fixture.SITE, ignore=shutil.ignore_patterns("glimmer-engine.wasm"))
        try:
            super().setUpClass()
        finally:
            fixture.SITE = site

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
