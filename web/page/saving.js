// Saving the JPEG files: into a folder the user picks (File System Access API), asking before
// a file is replaced and never leaving a partial file; or as one ZIP file whose entries keep
// the CAM files' modification times. Each JPEG goes below the folder the user gave, as the
// CAM file stood below the folder it was found in.

import { format } from "./texts.js";
import { foldedName, portableName } from "./rules.js";

// Where a row's JPEG goes, below the folder saved to or the ZIP's root.
export function outputPath(row) {
  const folders = row.folder === "" ? [] : row.folder.split("/").map(portableName);
  return [...folders, row.outputName].join("/");
}

// Two rows whose JPEGs would take the same place (letter case aside, as on the file systems
// most people save to, by the programs' own folding): the later one is not saved, as
// glimmer-convert does in one run.
class PlacesTaken {
  constructor() {
    this.taken = new Set();
  }

  take(path) {
    const key = foldedName(path);
    if (this.taken.has(key)) return false;
    this.taken.add(key);
    return true;
  }
}

function note(key, ...args) {
  return (texts) => format(texts[key], ...args);
}

async function existingFile(directory, name) {
  try {
    return { handle: await directory.getFileHandle(name), exists: true };
  } catch (error) {
    // A folder of that name is in the way: it exists, and it cannot be replaced by a file.
    return { handle: null, exists: error.name === "TypeMismatchError" };
  }
}

async function folderFor(root, parts) {
  let directory = root;
  for (const part of parts) directory = await directory.getDirectoryHandle(part, { create: true });
  return directory;
}

const delay = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

// Removes a file this save created and could not fill. The aborted writer's lock on it is
// released by the browser a moment after abort() resolves, and until then removeEntry() fails
// with NoModificationAllowedError; so that no empty file is left, it is tried again, each
// wait twice the last, for about five seconds in all.
async function removeCreated(directory, name) {
  for (let wait = 5; ; wait *= 2) {
    try {
      await directory.removeEntry(name);
      return;
    } catch (error) {
      if (error.name === "NotFoundError") return;
      if (error.name !== "NoModificationAllowedError" || wait > 2560) return;
    }
    await delay(wait);
  }
}

// Writes one file completely or not at all: the browser writes into a file of its own and
// puts it in place only on close, and a file that this save created is removed again when
// the write fails.
async function writeWhole(directory, name, handle, bytes) {
  let created = false;
  let target = handle;
  try {
    if (!target) {
      target = await directory.getFileHandle(name, { create: true });
      created = true;
    }
  } catch {
    return "CannotCreateJpg";
  }
  let writable = null;
  try {
    writable = await target.createWritable();
    await writable.write(bytes);
    await writable.close();
    return "Saved";
  } catch {
    if (writable) await writable.abort().catch(() => {});
    if (created) await removeCreated(directory, name);
    return writable ? "CannotWriteJpg" : "CannotCreateJpg";
  }
}

// Saves every row that holds a JPEG into `root`. `ask(path)` resolves to "yes", "no", "all"
// or "cancel"; Cancel ends the save. `onSaved(row)` follows each row's note. Resolves to the
// number of files saved and the rows left out because another row took their place.
export async function saveToFolder(root, rows, { ask, onSaved }) {
  const places = new PlacesTaken();
  const outcome = { saved: 0, leftOut: [] };
  let replaceAll = false;
  for (const row of rows) {
    const path = outputPath(row);
    if (!places.take(path)) {
      row.saveNote = note("AlreadyWritten", path);
      outcome.leftOut.push(row);
      onSaved(row);
      continue;
    }
    const parts = path.split("/");
    const name = parts.pop();
    let directory;
    try {
      directory = await folderFor(root, parts);
    } catch {
      row.saveNote = note("CannotCreateJpg");
      onSaved(row);
      continue;
    }
    const { handle, exists } = await existingFile(directory, name);
    if (exists && !replaceAll) {
      const answer = await ask(`${root.name}/${path}`);
      if (answer === "cancel") return outcome;
      if (answer === "no") {
        row.saveNote = note("NotReplaced");
        onSaved(row);
        continue;
      }
      replaceAll = answer === "all";
    }
    const written = exists && !handle ? "CannotCreateJpg" : await writeWhole(directory, name, handle, row.jpeg);
    if (written === "Saved") outcome.saved += 1;
    row.saveNote = note(written);
    onSaved(row);
  }
  return outcome;
}

// The ZIP format counts time from 1980 to 2107 in local time; a camera without a clock may
// have stamped its files earlier.
const kZipEarliest = new Date(1980, 0, 1).getTime();
const kZipLatest = new Date(2099, 11, 31, 23, 59, 58).getTime();

// The entries of one ZIP file: every row that holds a JPEG, once per place; and the rows left
// out because another row took their place.
export function zipEntries(rows) {
  const places = new PlacesTaken();
  const entries = [];
  const leftOut = [];
  for (const row of rows) {
    const path = outputPath(row);
    if (!places.take(path)) {
      row.saveNote = note("AlreadyWritten", path);
      leftOut.push(row);
      continue;
    }
    row.saveNote = null;
    const modified = row.modified;
    entries.push({
      path,
      data: row.jpeg,
      crc: row.crc,
      modified: Math.min(Math.max(modified, kZipEarliest), kZipLatest),
      exactModified: modified,
    });
  }
  return { entries, leftOut };
}
