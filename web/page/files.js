// What the user gives the page: files picked one by one, a folder picked whole, or files and
// folders dropped on the page. A folder counts with all its sub-folders; its *.cam files are
// listed, and folders named RECYCLED (any letter case) are skipped, as the programs do.

function isRecycled(name) {
  return name.toLowerCase() === "recycled";
}

function isCamName(name) {
  return name.length > 4 && name.slice(-4).toLowerCase() === ".cam";
}

// One listed file. `folder` is where it was found, as the user sees it, from the name of the
// folder the user gave down ("card/DCIM/100CAM"; empty for a file given on its own). Its JPEG
// takes the same place inside a ZIP or a folder it is saved to: two cards given together
// keep their pictures apart, however alike the cards are inside.
function listed(file, parts) {
  return {
    file,
    name: parts[parts.length - 1],
    folder: parts.slice(0, -1).join("/"),
  };
}

// A path's parts, without the empty ones a leading "/" gives.
function partsOf(path) {
  return path.split("/").filter((part) => part !== "");
}

// Whether a file found inside a given folder is listed: a CAM file's name, no RECYCLED above it.
function keptInFolder(parts) {
  return isCamName(parts[parts.length - 1]) && !parts.slice(0, -1).some(isRecycled);
}

// From a file input, with or without folder selection. A file given on its own is listed
// whatever its name, as glimmer-convert converts any file named on its command line.
export function fromFileList(fileList) {
  const found = [];
  for (const file of fileList) {
    const parts = partsOf(file.webkitRelativePath || file.name);
    if (parts.length === 1 || keptInFolder(parts)) found.push(listed(file, parts));
  }
  return inFoundOrder(found);
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

async function walk(directory, found) {
  for (const entry of await readAllEntries(directory)) {
    if (entry.isDirectory) {
      if (!isRecycled(entry.name)) await walk(entry, found);
    } else if (isCamName(entry.name)) {
      found.push(listed(await fileOf(entry), partsOf(entry.fullPath)));
    }
  }
}

// From a drop. The items must be taken before the first wait: the browser empties the drop's
// data once the event handler has returned.
export async function fromDataTransfer(dataTransfer) {
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
  const found = loose.map((file) => listed(file, [file.name]));
  for (const entry of entries) {
    if (entry.isDirectory) {
      if (!isRecycled(entry.name)) await walk(entry, found);
    } else {
      found.push(listed(await fileOf(entry), [entry.name]));
    }
  }
  return inFoundOrder(found);
}

// Folders and names in code-unit order, so that the same files always list alike however the
// browser enumerated them.
function inFoundOrder(found) {
  const key = (item) => (item.folder === "" ? "" : item.folder + "/") + item.name;
  return found.sort((a, b) => (key(a) < key(b) ? -1 : key(a) > key(b) ? 1 : 0));
}
