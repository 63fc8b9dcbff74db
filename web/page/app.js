// The page: choosing files, the list, Convert and Convert All with progress and Stop, saving,
// the larger view of a picture, and the language. The conversions run in the worker.

import {
  LANGUAGES,
  TEXTS,
  languageFor,
  format,
  countText,
  formatByteSize,
  withoutAccessKey,
} from "./texts.js";
import { fromFiles, fromDataTransfer, fromFolderHandle } from "./files.js";
import { FileTable } from "./file_table.js";
import { ConversionRun } from "./conversion_run.js";
import { saveToFolder, zipEntries } from "./saving.js";
import { portableName } from "./rules.js";
import { zipBlob, zipPieces, zipSize } from "./zip.js";
import { Question } from "./question.js";

const byId = (id) => document.getElementById(id);

const kLanguageKey = "glimmer-language";
// Progress is told to assistive technology at most this often, not per file.
const kAnnounceMilliseconds = 5000;

let language = rememberedLanguage() || languageFor(navigator.languages);
const texts = () => TEXTS[language];

const table = new FileTable(byId("files"), { texts, onOpenPicture: openPicture });
const run = new ConversionRun(new Worker("worker.js"), {
  onResult: takeResult,
  onProgress: showProgress,
  onEnd: finishRun,
});
const question = new Question(byId("question"));

// A save into a folder under way. While the page is busy (a save, a run or a listing), only
// Stop (during a run or a listing) is enabled.
let saving = false;
// The listing under way, while files are being found: { stopped }.
let listing = null;
// The message about the last run, list or save, a function of the texts so that it follows
// the language; shown until the next one.
let message = null;
let lastAnnounced = 0;

function busy() {
  return saving || run.running || listing !== null;
}

function rememberedLanguage() {
  try {
    const kept = localStorage.getItem(kLanguageKey);
    return kept in TEXTS ? kept : null;
  } catch {
    return null;
  }
}

function saying(identifier, ...args) {
  return (texts) => format(texts[identifier], ...args);
}

function showMessage() {
  byId("message").textContent = message ? message(texts()) : "";
}

// Both parts of the status bar: the file count and the total size, both empty for an empty
// list, as in the window program.
function showCounts() {
  const count = table.rows.length;
  byId("status-0").textContent = count ? countText(texts(), "FileCount", count) : "";
  byId("status-1").textContent = count ? formatByteSize(texts(), table.totalBytes()) : "";
}

function updateControls() {
  const empty = table.rows.length === 0;
  const pictures = table.rows.some((row) => row.jpeg);
  const isBusy = busy();
  byId("choose-folder").disabled = isBusy;
  byId("choose-files").disabled = isBusy;
  byId("clear").disabled = isBusy || empty;
  byId("convert").disabled = isBusy || empty;
  byId("convert-all").disabled = isBusy || empty;
  byId("stop").disabled = !run.running && listing === null;
  byId("save-folder").disabled = isBusy || !pictures;
  byId("download-zip").disabled = isBusy || !pictures;
  byId("save-folder").hidden = !("showDirectoryPicker" in window);
  document.body.classList.toggle("busy", isBusy);
}

// The language menu: every language of the catalogue, each named in itself, by code.
for (const code of [...LANGUAGES].sort()) {
  const option = document.createElement("option");
  option.value = code;
  option.textContent = TEXTS[code].LanguageName;
  byId("language").append(option);
}

function applyLanguage() {
  document.documentElement.lang = language;
  byId("language").value = language;
  for (const element of document.querySelectorAll("[data-text]")) {
    element.textContent = withoutAccessKey(texts()[element.dataset.text]);
  }
  for (const element of document.querySelectorAll("[data-label]")) {
    element.setAttribute("aria-label", texts()[element.dataset.label]);
  }
  table.relabel();
  showMessage();
  if (!run.running) showCounts();
}

// Pictures converted and not yet saved, downloaded or put in a ZIP.
function unsavedPictures() {
  return table.rows.some((row) => row.jpeg && !row.saved);
}

// --- listing -------------------------------------------------------------------------------

// Lists what `find(onFound, stopped)` finds, adding it to the list a frame's worth at a time,
// with the count and the total growing as it does.
async function list(find) {
  if (busy()) return;
  listing = { stopped: false };
  const current = listing;
  message = null;
  showMessage();
  updateControls();
  let found = [];
  let frameRequested = false;
  const addFound = () => {
    frameRequested = false;
    table.add(found);
    found = [];
    showCounts();
    updateControls();
  };
  let outcome = { unreadable: [] };
  try {
    outcome = await find(
      (items) => {
        found.push(...items);
        if (!frameRequested) {
          frameRequested = true;
          requestAnimationFrame(addFound);
        }
      },
      () => current.stopped,
    );
  } finally {
    addFound();
    listing = null;
    if (outcome.unreadable.length > 0) {
      message = (texts) => format(texts.Unreadable, namedList(texts, outcome.unreadable));
    } else if (current.stopped) {
      message = saying("ListingStopped");
    }
    showMessage();
    updateControls();
  }
}

async function clearList() {
  if (busy()) return;
  if (unsavedPictures()) {
    const answer = await question.ask(texts().InquiryTitle, texts().ClearQuestion, ["yes", "cancel"]);
    if (answer !== "yes") return;
  }
  table.clear();
  message = null;
  showMessage();
  showCounts();
  updateControls();
}

// --- the run -------------------------------------------------------------------------------

function startRun(rows, stopAtFailure) {
  if (busy() || table.rows.length === 0) return;
  if (rows.length === 0) {
    message = saying("NothingSelected");
    showMessage();
    return;
  }
  message = null;
  lastAnnounced = performance.now();
  byId("announcer").textContent = countText(texts(), "RunAnnouncement", rows.length);
  showMessage();
  byId("progress").max = rows.length;
  byId("progress").value = 0;
  run.start(rows, { stopAtFailure });
  updateControls();
}

function takeResult(row, { result, outputName, jpeg, crc }) {
  table.forget(row);
  row.result = result;
  row.outputName = portableName(outputName);
  row.jpeg = jpeg;
  row.crc = crc;
  row.drawable = undefined;
  row.saved = false;
  row.saveNote = null;
  table.changed(row);
}

// Once a frame: the progress bar, and the file under way with its place in the run.
function showProgress(done, total) {
  byId("progress").value = done;
  const current = run.rows && run.rows[Math.min(done, total - 1)];
  if (current) {
    byId("status-0").textContent = current.path;
    byId("status-1").textContent = format(texts().RunPosition, Math.min(done + 1, total), total);
  }
  const now = performance.now();
  if (done > 0 && done < total && now - lastAnnounced >= kAnnounceMilliseconds) {
    lastAnnounced = now;
    byId("announcer").textContent = format(texts().ProgressAnnouncement, done, total);
  }
}

function finishRun(stopped, broken) {
  message = saying(broken ? "EngineMissing" : stopped ? "RunAborted" : "RunFinished");
  byId("announcer").textContent = "";
  document.body.dataset.lastRunMilliseconds = String(run.lastRunMilliseconds);
  document.body.dataset.lastRunPictures = String(table.rows.filter((row) => row.jpeg).length);
  showMessage();
  showCounts();
  updateControls();
}

// --- saving --------------------------------------------------------------------------------

// Paths as the list shows them: the first few, and how many more.
function namedList(texts, paths) {
  const kNamed = 3;
  const list = paths.slice(0, kNamed).join(", ");
  return paths.length > kNamed ? format(texts.AndMore, list, paths.length - kNamed) : list;
}

// What a ZIP or a folder now holds, and which pictures could not be put in because another one
// took their place.
function heldMessage(holds, held, leftOut) {
  return (texts) => {
    const lines = [countText(texts, holds, held)];
    if (leftOut.length > 0) {
      lines.push(format(texts.LeftOut, namedList(texts, leftOut.map((row) => row.path))));
    }
    return lines.join("\n");
  };
}

async function saveIntoFolder() {
  let root;
  try {
    root = await window.showDirectoryPicker({ id: "glimmer-jpeg", mode: "readwrite" });
  } catch {
    return;
  }
  saving = true;
  message = null;
  showMessage();
  updateControls();
  try {
    const { saved, leftOut } = await saveToFolder(root, table.withPictures(), {
      ask: (path) => question.ask(texts().InquiryTitle, format(texts().ReplaceQuestion, path)),
      onSaved: (row) => table.changed(row),
    });
    message = heldMessage("FolderHolds", saved, leftOut);
  } finally {
    saving = false;
    showMessage();
    updateControls();
  }
}

// Hands a file to the browser's downloads through the page's service worker, which answers the
// download's request with the pieces the page makes as the download asks for them: the file
// is written as it is made. False where no service worker looks after the page (it is not yet
// running, or the browser has none).
async function streamDownload(name, contentType, size, pieces) {
  const worker = "serviceWorker" in navigator && navigator.serviceWorker.controller;
  if (!worker) return false;
  const channel = new MessageChannel();
  const port = channel.port1;
  const address = new Promise((resolve) => {
    port.onmessage = (event) => resolve(event.data.address);
  });
  const id = crypto.randomUUID();
  worker.postMessage({ type: "download", id, name, contentType, size, port: channel.port2 }, [
    channel.port2,
  ]);
  const href = await address;
  // A service worker with no event to handle may be ended: a message now and then keeps it.
  const keepAlive = setInterval(() => worker.postMessage({ type: "keep-alive" }), 10000);
  port.onmessage = async (event) => {
    const next = event.data === "next" ? await pieces.next() : { done: true };
    if (next.done) {
      clearInterval(keepAlive);
      if (event.data === "next") port.postMessage(null);
      port.close();
    } else {
      port.postMessage(next.value.buffer, [next.value.buffer]);
    }
  };
  // In a frame of its own, so that the page itself is not left.
  const frame = document.createElement("iframe");
  frame.hidden = true;
  frame.src = href;
  document.body.append(frame);
  setTimeout(() => frame.remove(), 60000);
  return true;
}

async function downloadZip() {
  const { entries, leftOut } = zipEntries(table.withPictures());
  let streamed = false;
  try {
    streamed = await streamDownload("glimmer.zip", "application/zip", zipSize(entries), zipPieces(entries));
  } catch {
    streamed = false;
  }
  if (!streamed) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(zipBlob(entries));
    link.download = "glimmer.zip";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  for (const row of table.withPictures()) {
    if (!leftOut.includes(row)) row.saved = true;
  }
  table.relabel();
  message = heldMessage("ZipHolds", entries.length, leftOut);
  showMessage();
}

// --- the larger view -----------------------------------------------------------------------

function openPicture(row) {
  const viewer = byId("viewer");
  const url = table.pictureUrl(row);
  viewer.querySelector("img").src = url;
  viewer.querySelector("img").alt = row.outputName;
  viewer.querySelector(".name").textContent = row.outputName;
  const download = viewer.querySelector(".download");
  download.href = url;
  download.download = row.outputName;
  download.onclick = () => {
    row.saved = true;
  };
  viewer.showModal();
}

// --- wiring --------------------------------------------------------------------------------

function chooseWith(input) {
  input.addEventListener("change", () => {
    const files = input.files;
    list((onFound) => fromFiles(files, onFound)).finally(() => {
      input.value = "";
    });
  });
  return () => input.click();
}

// A folder picker, where the browser has one, lets the page read the folder as it lists it;
// a folder input hands over every file at once, and the browser makes the page wait meanwhile.
const chooseFolderInput = chooseWith(byId("folder-input"));
byId("choose-folder").addEventListener("click", async () => {
  if (!("showDirectoryPicker" in window)) {
    chooseFolderInput();
    return;
  }
  let folder;
  try {
    folder = await window.showDirectoryPicker({ id: "glimmer-cam", mode: "read" });
  } catch {
    return;
  }
  list((onFound, stopped) => fromFolderHandle(folder, onFound, stopped));
});
byId("choose-files").addEventListener("click", chooseWith(byId("files-input")));
byId("clear").addEventListener("click", clearList);
byId("convert").addEventListener("click", () => startRun(table.selected(), true));
byId("convert-all").addEventListener("click", () => startRun(table.shown(), false));
byId("stop").addEventListener("click", () => {
  if (listing) listing.stopped = true;
  run.stop();
});
byId("save-folder").addEventListener("click", saveIntoFolder);
byId("download-zip").addEventListener("click", downloadZip);
byId("language").addEventListener("change", (event) => {
  language = event.target.value;
  try {
    localStorage.setItem(kLanguageKey, language);
  } catch {
    // A browser that keeps nothing for the page starts in the browser's language next time.
  }
  applyLanguage();
});
byId("viewer").querySelector(".close").addEventListener("click", () => byId("viewer").close());

document.addEventListener("dragover", (event) => {
  event.preventDefault();
  event.dataTransfer.dropEffect = busy() ? "none" : "copy";
});
document.addEventListener("drop", (event) => {
  event.preventDefault();
  if (busy()) return;
  const transfer = event.dataTransfer;
  // The drop's items are taken at once, before the browser empties them.
  const walking = (onFound, stopped) => fromDataTransfer(transfer, onFound, stopped);
  list(walking);
});

// Leaving or reloading the page asks first while work would be lost.
window.addEventListener("beforeunload", (event) => {
  if (busy() || unsavedPictures()) event.preventDefault();
});

// An installed page opened with CAM files from the desktop lists them as if they were dropped.
if ("launchQueue" in window) {
  window.launchQueue.setConsumer((params) => {
    if (params.files.length === 0) return;
    list(async (onFound) => {
      const outcome = { unreadable: [] };
      const files = [];
      for (const handle of params.files) {
        try {
          files.push(await handle.getFile());
        } catch {
          outcome.unreadable.push(handle.name);
        }
      }
      await fromFiles(files, onFound);
      return outcome;
    });
  });
}

if ("serviceWorker" in navigator) navigator.serviceWorker.register("service_worker.js");

applyLanguage();
updateControls();
