// The page: choosing files, the list, Convert and Convert All with progress and Stop, saving,
// the larger view of a picture, and the language. The conversions run in the worker.

import { TEXTS, languageFor, format, formatByteSize } from "./texts.js";
import { fromFileList, fromDataTransfer } from "./files.js";
import { FileTable } from "./file_table.js";
import { ConversionRun } from "./conversion_run.js";
import { saveToFolder, zipEntries, makeZip } from "./saving.js";
import { Question } from "./question.js";

const byId = (id) => document.getElementById(id);

let language = languageFor(navigator.languages);
const texts = () => TEXTS[language];

const table = new FileTable(byId("files"), { texts, onOpenPicture: openPicture });
const run = new ConversionRun(new Worker("worker.js"), {
  onStart: showPosition,
  onResult: showResult,
  onEnd: finishRun,
});
const question = new Question(byId("question"));

// Whether a run or a save is going on: only Stop (during a run) is then enabled.
let busy = false;
// The message about the last run or save, a function of the texts so that it follows the
// language; shown until the next run, save or list.
let message = null;
let done = 0;
let total = 0;

function showMessage() {
  byId("message").textContent = message ? message(texts()) : "";
}

// Both parts of the status bar: the file count and the total size, both empty for an empty
// list, as in the window program.
function showCounts() {
  const count = table.rows.length;
  byId("status-0").textContent = count ? format(texts().fileCount(count), count) : "";
  byId("status-1").textContent = count ? formatByteSize(texts(), table.totalBytes()) : "";
}

function updateControls() {
  const empty = table.rows.length === 0;
  const pictures = table.rows.some((row) => row.jpeg);
  byId("choose-folder").disabled = busy;
  byId("choose-files").disabled = busy;
  byId("convert").disabled = busy || empty;
  byId("convert-all").disabled = busy || empty;
  byId("stop").disabled = !run.running;
  byId("save-folder").disabled = busy || !pictures;
  byId("download-zip").disabled = busy || !pictures;
  byId("save-folder").hidden = !("showDirectoryPicker" in window);
  document.body.classList.toggle("busy", busy);
}

function applyLanguage() {
  document.documentElement.lang = language;
  byId("language").value = language;
  for (const element of document.querySelectorAll("[data-text]")) {
    element.textContent = texts()[element.dataset.text];
  }
  table.relabel();
  showMessage();
  if (!run.running) showCounts();
}

function useFiles(found) {
  if (busy) return;
  table.setFiles(found);
  message = null;
  showMessage();
  showCounts();
  updateControls();
}

// --- the run -----------------------------------------------------------------------------

function startRun(rows, stopAtFailure) {
  if (busy || rows.length === 0) return;
  busy = true;
  message = null;
  done = 0;
  total = rows.length;
  showMessage();
  byId("progress").max = total;
  byId("progress").value = 0;
  run.start(rows, { stopAtFailure });
  updateControls();
}

function showPosition(row, position, count) {
  byId("status-0").textContent = (row.folder === "" ? "" : row.folder + "/") + row.name;
  byId("status-1").textContent = format(texts().position, position, count);
}

function showResult(row) {
  done += 1;
  byId("progress").value = done;
  table.changed(row);
}

function finishRun(stopped, broken) {
  // Every row shows its outcome before the run's end does.
  table.flush();
  busy = false;
  message = saying(broken ? "engineMissing" : stopped ? "aborted" : "finished");
  document.body.dataset.lastRunMilliseconds = String(run.lastRunMilliseconds);
  showMessage();
  showCounts();
  updateControls();
}

function saying(key) {
  return (texts) => texts[key];
}

// --- saving ------------------------------------------------------------------------------

// The source files of rows, as the list shows them: the first few, and how many more.
function filesNamed(texts, rows) {
  const kNamed = 3;
  const named = rows.slice(0, kNamed).map((row) => (row.folder === "" ? "" : row.folder + "/") + row.name);
  const list = named.join(", ");
  return rows.length > kNamed ? format(texts.andMore, list, rows.length - kNamed) : list;
}

// What a ZIP or a folder now holds, and which pictures could not be put in because another one
// took their place.
function heldMessage(heldKey, held, leftOut) {
  return (texts) => {
    const lines = [format(texts[heldKey](held), held)];
    if (leftOut.length > 0) lines.push(format(texts.leftOut, filesNamed(texts, leftOut)));
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
  busy = true;
  message = null;
  showMessage();
  updateControls();
  try {
    const { saved, leftOut } = await saveToFolder(root, table.withPictures(), {
      ask: (path) => question.ask(texts().inquiryTitle, format(texts().replaceQuestion, path)),
      onSaved: (row) => table.changed(row),
    });
    message = heldMessage("folderHolds", saved, leftOut);
  } finally {
    busy = false;
    showMessage();
    updateControls();
  }
}

async function downloadZip() {
  const { entries, leftOut } = zipEntries(table.withPictures());
  table.relabel();
  busy = true;
  message = saying("zipping");
  showMessage();
  updateControls();
  try {
    const zip = await makeZip(entries);
    const link = document.createElement("a");
    link.href = URL.createObjectURL(zip);
    link.download = "glimmer.zip";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    message = heldMessage("zipHolds", entries.length, leftOut);
  } catch {
    message = saying("cantCreate");
  } finally {
    busy = false;
    showMessage();
    updateControls();
  }
}

// --- the larger view -----------------------------------------------------------------------

function openPicture(row) {
  const viewer = byId("viewer");
  viewer.querySelector("img").src = table.pictureUrl(row);
  viewer.querySelector("img").alt = row.outputName;
  viewer.querySelector(".name").textContent = row.outputName;
  viewer.querySelector(".download").onclick = (event) => {
    event.preventDefault();
    table.download(row);
  };
  viewer.showModal();
}

// --- wiring --------------------------------------------------------------------------------

function chooseWith(input) {
  input.addEventListener("change", () => {
    useFiles(fromFileList(input.files));
    input.value = "";
  });
  return () => input.click();
}

byId("choose-folder").addEventListener("click", chooseWith(byId("folder-input")));
byId("choose-files").addEventListener("click", chooseWith(byId("files-input")));
byId("convert").addEventListener("click", () => startRun(table.selected(), true));
byId("convert-all").addEventListener("click", () => startRun(table.shown(), false));
byId("stop").addEventListener("click", () => run.stop());
byId("save-folder").addEventListener("click", saveIntoFolder);
byId("download-zip").addEventListener("click", downloadZip);
byId("language").addEventListener("change", (event) => {
  language = event.target.value;
  applyLanguage();
});
byId("viewer").querySelector(".close").addEventListener("click", () => byId("viewer").close());
byId("files").addEventListener("keydown", (event) => {
  if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === "a") {
    event.preventDefault();
    table.selectAll();
  }
});

document.addEventListener("dragover", (event) => {
  event.preventDefault();
  event.dataTransfer.dropEffect = busy ? "none" : "copy";
});
document.addEventListener("drop", (event) => {
  event.preventDefault();
  if (!busy) fromDataTransfer(event.dataTransfer).then(useFiles);
});

if ("serviceWorker" in navigator) navigator.serviceWorker.register("service_worker.js");

applyLanguage();
updateControls();
