// What the user gives the page: files picked one by one, a folder picked whole (through the
// browser's folder picker, or a folder input where it has none), files and folders dropped on
// the page, or files an installed page is opened with. A folder counts with
// all its sub-folders; its *.cam files are listed, and folders named RECYCLED (any letter
// case) are skipped, by the programs' own rules. Files are handed on in chunks as they are
// found, so that a large folder lists while it is read.

import { isCamName, isRecycleFolder } from "./rules.js";

// How long the page looks through a file input's files at a time before it lets the browser
// draw: well inside a frame.
const kTurnMilliseconds = 8;

// One listed file. `folder` is where it was found, as the user sees it, from the name of the
// folder the user gave down ("card/DCIM/100CAM"; empty for a file given on its own). Its JPEG
// takes the same place inside a ZIP or a folder it is saved to: two cards given together
// keep their pictures apart, however alike the cards are inside. The size and the time are
// asked for once, here: the first time a file from a file input is asked, the browser fetches
// them from the disk, while the page waits.
function listed(file, parts) {
  return {
    file,
    name: parts[parts.length - 1],
    folder: parts.slice(0, -1).join("/"),
    size: file.size,
    modified: file.lastModified,
  };
}

// A path's parts, without the empty ones a leading "/" gives.
function partsOf(path) {
  return path.split("/").filter((part) => part !== "");
}

// Whether a file found inside a given folder is listed: a CAM file's name, no RECYCLED above it.
function keptInFolder(parts) {
  return isCamName(parts[parts.length - 1]) && !parts.slice(0, -1).some(isRecycleFolder);
}

const nextTurn = () => new Promise((resolve) => setTimeout(resolve, 0));

// A file's path below the folder given, as parts, its own name last as it is. The browser
// writes the backslashes of a name as slashes in the path ("..\\x.cam" as "../x.cam"), so the
// name is taken from the file itself and the folder is what stands before it.
function pathOf(file) {
  const path = file.webkitRelativePath;
  if (!path) return [file.name];
  const written = file.name.replaceAll("\\", "/");
  const end = path.endsWith("/" + written) ? path.length - written.length - 1 : path.lastIndexOf("/");
  const folder = path.slice(0, end);
  return [...partsOf(folder), file.name];
}

// From a file input, with or without folder selection, or from the files an installed page is
// opened with. A file given on its own is listed whatever its name, as glimmer-convert
// converts any file named on its command line. `onFound(items)` takes each chunk.
export async function fromFiles(files, onFound) {
  let i = 0;
  while (i < files.length) {
    const found = [];
    const until = performance.now() + kTurnMilliseconds;
    do {
      const file = files[i++];
      const parts = pathOf(file);
      if (parts.length === 1 || keptInFolder(parts)) found.push(listed(file, parts));
    } while (i < files.length && performance.now() < until);
    if (found.length > 0) onFound(found);
    if (i < files.length) await nextTurn();
  }
  return { unreadable: [] };
}

function readAllEntries(directory) {
  const reader = directory.createReader();
  const entries = [];
  return new Promise((resolve, reject) => {
    const next = () =>
      reader.readEntries((batch) => {
        if (batch.length === 0) {
          resolve(entries);
        } else {
          entries.push(...batch);
          next();
        }
      }, reject);
    next();
  });
}

function fileOf(entry) {
  return new Promise((resolve, reject) => entry.file(resolve, reject));
}

// A folder as a drop gives it (a FileSystemDirectoryEntry), and as the folder picker gives it
// (a FileSystemDirectoryHandle), alike: its path's parts, and its children, each a folder to
// open or a file to get.
function entryFolder(entry, parts) {
  return {
    parts,
    children: async () =>
      (await readAllEntries(entry)).map((child) => ({
        name: child.name,
        isFolder: child.isDirectory,
        folder: () => entryFolder(child, [...parts, child.name]),
        file: () => fileOf(child),
      })),
  };
}

function handleFolder(handle, parts) {
  return {
    parts,
    children: async () => {
      const children = [];
      for await (const child of handle.values()) {
        children.push({
          name: child.name,
          isFolder: child.kind === "directory",
          folder: () => handleFolder(child, [...parts, child.name]),
          file: () => child.getFile(),
        });
      }
      return children;
    },
  };
}

// Walks a folder: each folder's CAM files are asked for all at once and handed on together;
// folders and files that cannot be read are named in `unreadable`.
async function walk(folder, onFound, outcome, stopped) {
  if (stopped()) return;
  let children;
  try {
    children = await folder.children();
  } catch {
    outcome.unreadable.push(folder.parts.join("/"));
    return;
  }
  const cams = children.filter((child) => !child.isFolder && isCamName(child.name));
  const files = await Promise.all(cams.map((child) => child.file().catch(() => null)));
  const found = [];
  files.forEach((file, i) => {
    const parts = [...folder.parts, cams[i].name];
    if (file) {
      found.push(listed(file, parts));
    } else {
      outcome.unreadable.push(parts.join("/"));
    }
  });
  if (found.length > 0) onFound(found);
  for (const child of children) {
    if (child.isFolder && !isRecycleFolder(child.name)) {
      await walk(child.folder(), onFound, outcome, stopped);
    }
  }
}

// From the folder picker (where the browser has one): walked as a drop is, so that the list
// grows while the folder is read and the page never waits for the whole of it.
export async function fromFolderHandle(handle, onFound, stopped = () => false) {
  const outcome = { unreadable: [] };
  await walk(handleFolder(handle, [handle.name]), onFound, outcome, stopped);
  return outcome;
}

// From a drop. The items must be taken before the first wait: the browser empties the drop's
// data once the event handler has returned. `stopped()` ends the walk early.
export async function fromDataTransfer(dataTransfer, onFound, stopped = () => false) {
  const entries = [];
  const loose = [];
  for (const item of dataTransfer.items) {
    if (item.kind !== "file") continue;
    const entry = item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
    if (entry) {
      entries.push(entry);
    } else {
      const file = item.getAsFile();
      if (file) loose.push(file);
    }
  }
  const outcome = { unreadable: [] };
  if (loose.length > 0) onFound(loose.map((file) => listed(file, [file.name])));
  for (const entry of entries) {
    if (entry.isDirectory) {
      if (!isRecycleFolder(entry.name)) {
        await walk(entryFolder(entry, [entry.name]), onFound, outcome, stopped);
      }
    } else {
      try {
        onFound([listed(await fileOf(entry), [entry.name])]);
      } catch {
        outcome.unreadable.push(entry.name);
      }
    }
  }
  return outcome;
}
