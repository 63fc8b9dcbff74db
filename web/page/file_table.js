// The list of files, like the window program's: name, folder and size, sortable by each
// column, rows selected with clicks (Ctrl and Shift as in a list view); beside them each
// file's outcome, its JPEG to download and a thumbnail that opens a larger view. Rows are
// blocks that the browser lays out only while they are in view (see style.css), so a list of
// thousands costs no more to update than a screenful.

import { format, groupDigits } from "./texts.js";

// Sort keys; the direction flag is kept apart, as the window program keeps it in its key.
const kColumns = ["name", "folder", "size"];

function compareText(a, b) {
  const x = a.toLowerCase();
  const y = b.toLowerCase();
  return x < y ? -1 : x > y ? 1 : 0;
}

const kCompare = {
  name: (a, b) => compareText(a.name, b.name),
  folder: (a, b) => compareText(a.folder, b.folder),
  size: (a, b) => a.file.size - b.file.size,
};

export class FileTable {
  constructor(table, { texts, onOpenPicture }) {
    this.table = table;
    this.body = table.querySelector(".rows");
    this.texts = texts;
    this.onOpenPicture = onOpenPicture;
    this.rows = [];
    this.sortColumn = null;
    this.descending = false;
    this.anchor = null;
    this.dirty = new Set();
    this.frameRequested = false;
    this.thumbnails = new IntersectionObserver((seen) => this.showThumbnails(seen), {
      root: null,
      rootMargin: "200px",
    });
    for (const column of kColumns) {
      table.querySelector(`[data-column="${column}"]`).addEventListener("click", () => {
        this.sortBy(column);
      });
    }
    this.body.addEventListener("click", (event) => this.clicked(event));
  }

  // Replaces every row, as a new search does in the window program.
  setFiles(found) {
    for (const row of this.rows) this.forget(row);
    this.rows = found.map((item, index) => ({ ...item, id: index, element: null }));
    this.sortColumn = null;
    this.descending = false;
    this.anchor = null;
    this.body.replaceChildren(...this.rows.map((row) => this.build(row)));
  }

  forget(row) {
    if (row.pictureUrl) URL.revokeObjectURL(row.pictureUrl);
    row.pictureUrl = null;
  }

  build(row) {
    const element = document.createElement("div");
    element.className = "row";
    element.setAttribute("role", "row");
    element.dataset.id = row.id;
    for (const name of ["name", "folder", "size", "result", "jpeg", "picture"]) {
      const cell = document.createElement("div");
      cell.className = name;
      cell.setAttribute("role", "cell");
      element.append(cell);
    }
    const [name, folder, size] = element.children;
    name.textContent = row.name;
    folder.textContent = row.folder;
    size.textContent = groupDigits(row.file.size);
    row.element = element;
    this.fill(row);
    return element;
  }

  // The cells that change: the outcome, the saving note, the JPEG link and the thumbnail.
  fill(row) {
    const [, , , result, jpeg, picture] = row.element.children;
    const lines = [];
    if (row.result) lines.push(format(this.texts()[row.result], row.name));
    if (row.saveNote) lines.push(row.saveNote(this.texts()));
    result.textContent = lines.join("\n");
    result.classList.toggle("failed", Boolean(row.result) && !row.jpeg);
    result.classList.toggle("incomplete", row.result === "SourceEnded");
    jpeg.replaceChildren();
    picture.replaceChildren();
    if (!row.jpeg) {
      this.forget(row);
      return;
    }
    const link = document.createElement("a");
    link.textContent = row.outputName;
    link.href = "#";
    link.addEventListener("click", (event) => {
      event.preventDefault();
      this.download(row);
    });
    jpeg.append(link);
    const img = document.createElement("img");
    img.alt = row.outputName;
    img.addEventListener("click", () => this.onOpenPicture(row));
    picture.append(img);
    this.thumbnails.observe(img);
  }

  // Object URLs for the thumbnails only once they scroll into view: a run of thousands of
  // files makes no Blob it does not show.
  showThumbnails(seen) {
    for (const entry of seen) {
      if (!entry.isIntersecting) continue;
      this.thumbnails.unobserve(entry.target);
      const row = this.rows[Number(entry.target.closest(".row").dataset.id)];
      if (row.jpeg) entry.target.src = this.pictureUrl(row);
    }
  }

  pictureUrl(row) {
    if (!row.pictureUrl) {
      row.pictureUrl = URL.createObjectURL(new Blob([row.jpeg], { type: "image/jpeg" }));
    }
    return row.pictureUrl;
  }

  download(row) {
    const link = document.createElement("a");
    link.href = this.pictureUrl(row);
    link.download = row.outputName;
    link.click();
  }

  // Redraws changed rows once per frame, so that thousands of results cost one layout each.
  changed(row) {
    this.dirty.add(row);
    if (this.frameRequested) return;
    this.frameRequested = true;
    requestAnimationFrame(() => {
      this.frameRequested = false;
      this.flush();
    });
  }

  flush() {
    for (const row of this.dirty) {
      if (row.pictureUrl) this.forget(row);
      this.fill(row);
    }
    this.dirty.clear();
  }

  relabel() {
    for (const row of this.rows) this.fill(row);
  }

  // The first click on a column sorts it in the direction last used; each further click on
  // the same column reverses it, as in the window program.
  sortBy(column) {
    if (column === this.sortColumn) {
      this.descending = !this.descending;
    }
    this.sortColumn = column;
    const sign = this.descending ? -1 : 1;
    const compare = kCompare[column];
    const order = [...this.rows].sort((a, b) => sign * compare(a, b) || a.id - b.id);
    this.body.replaceChildren(...order.map((row) => row.element));
    for (const title of this.table.querySelectorAll("[data-column]")) {
      title.removeAttribute("aria-sort");
    }
    this.table
      .querySelector(`[data-column="${column}"]`)
      .setAttribute("aria-sort", this.descending ? "descending" : "ascending");
  }

  // Rows as currently shown, from top to bottom.
  shown() {
    return Array.from(this.body.children, (element) => this.rows[Number(element.dataset.id)]);
  }

  selected() {
    return this.shown().filter((row) => row.element.classList.contains("selected"));
  }

  clicked(event) {
    const element = event.target.closest(".row");
    if (!element || event.target.closest("a, img")) return;
    const shown = this.shown();
    const row = this.rows[Number(element.dataset.id)];
    if (event.shiftKey && this.anchor) {
      const from = shown.indexOf(this.anchor);
      const to = shown.indexOf(row);
      const [low, high] = from < to ? [from, to] : [to, from];
      shown.forEach((r, i) => r.element.classList.toggle("selected", i >= low && i <= high));
      return;
    }
    if (event.ctrlKey || event.metaKey) {
      row.element.classList.toggle("selected");
    } else {
      for (const r of shown) r.element.classList.toggle("selected", r === row);
    }
    this.anchor = row;
  }

  selectAll() {
    for (const row of this.rows) row.element.classList.add("selected");
  }

  totalBytes() {
    return this.rows.reduce((sum, row) => sum + row.file.size, 0);
  }

  withPictures() {
    return this.shown().filter((row) => row.jpeg);
  }
}
