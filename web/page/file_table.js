// The list of files, like the window program's: name, folder and size, sortable by each
// column, rows selected with the mouse or the keyboard as in a list view; beside them each
// file's outcome, its JPEG to download and a thumbnail that opens a larger view.
// Only the rows in view exist in the page: every row has the same height, the list's full
// height is set on its row group, and scrolling puts the rows of the new view in place, so a
// list of ten thousand files costs what a screenful costs. The grid tells assistive technology
// the number of rows and each row's place in it (aria-rowcount, aria-rowindex).

import { OUTCOME_TEXTS, format } from "./texts.js";
import { groupDigits } from "./rules.js";

const kColumns = ["name", "folder", "size"];
// Rows made beyond each edge of the view, so that a short scroll shows no empty space.
const kOverscan = 8;
// Time a frame spends making the pictures' Blobs and URLs for the rows it shows.
const kPictureMilliseconds = 6;

function compareText(a, b) {
  const x = a.toLowerCase();
  const y = b.toLowerCase();
  return x < y ? -1 : x > y ? 1 : 0;
}

const kCompare = {
  name: (a, b) => compareText(a.name, b.name),
  folder: (a, b) => compareText(a.folder, b.folder),
  size: (a, b) => a.size - b.size,
};

// Folders and names in code-unit order, so that the same files always list alike however the
// browser enumerated them.
function compareFound(a, b) {
  return a.path < b.path ? -1 : a.path > b.path ? 1 : 0;
}

// The same file given twice (by two drops, or a folder and a file in it) is one row.
function identity(item) {
  return `${item.folder}/${item.name}\u0000${item.size}\u0000${item.modified}`;
}

export class FileTable {
  constructor(grid, { texts, onOpenPicture }) {
    this.grid = grid;
    this.scroller = grid.parentElement;
    this.body = grid.querySelector(".rows");
    this.texts = texts;
    this.onOpenPicture = onOpenPicture;
    // Every row, in the order shown.
    this.rows = [];
    this.identities = new Set();
    this.nextId = 0;
    this.sortColumn = null;
    this.descending = false;
    this.anchor = null;
    this.focus = 0;
    // The rows in view and their elements.
    this.elements = new Map();
    this.dirty = new Set();
    // Rows whose picture waits for a later frame: each picture shown costs a Blob and its URL,
    // and a frame makes only as many as fit in kPictureMilliseconds.
    this.picturesLater = new Set();
    this.pictureDeadline = 0;
    this.renderRequested = false;
    for (const column of kColumns) {
      grid.querySelector(`[data-column="${column}"] button`).addEventListener("click", () => {
        this.sortBy(column);
      });
    }
    this.body.addEventListener("click", (event) => this.clicked(event));
    grid.addEventListener("keydown", (event) => this.keyPressed(event));
    grid.addEventListener("focus", () => this.render());
    this.scroller.addEventListener("scroll", () => this.render());
    new ResizeObserver(() => this.render()).observe(this.scroller);
    this.render();
  }

  // Adds files found, each once; the list keeps its order (found order, or the column sorted
  // by). Returns how many were new.
  add(found) {
    const added = [];
    for (const item of found) {
      const key = identity(item);
      if (this.identities.has(key)) continue;
      this.identities.add(key);
      const path = (item.folder === "" ? "" : item.folder + "/") + item.name;
      added.push({ ...item, path, id: this.nextId++, selected: false });
    }
    if (added.length > 0) {
      this.rows = this.merged(added.sort((a, b) => this.compare(a, b)));
      this.requestRender();
    }
    return added.length;
  }

  // The rows with `added` (in order) merged in, in one pass.
  merged(added) {
    const rows = new Array(this.rows.length + added.length);
    let i = 0;
    let j = 0;
    for (let k = 0; k < rows.length; k++) {
      const old = i < this.rows.length ? this.rows[i] : null;
      rows[k] = old && (j >= added.length || this.compare(old, added[j]) <= 0) ? this.rows[i++] : added[j++];
    }
    return rows;
  }

  clear() {
    for (const row of this.rows) this.forget(row);
    this.rows = [];
    this.identities.clear();
    this.sortColumn = null;
    this.descending = false;
    this.anchor = null;
    this.focus = 0;
    this.updateSortMarks();
    this.requestRender();
  }

  compare(a, b) {
    if (this.sortColumn === null) return compareFound(a, b) || a.id - b.id;
    const sign = this.descending ? -1 : 1;
    return sign * kCompare[this.sortColumn](a, b) || a.id - b.id;
  }

  // A row's picture changes: its old object URL goes.
  forget(row) {
    if (row.pictureUrl) URL.revokeObjectURL(row.pictureUrl);
    row.pictureUrl = null;
  }

  // The picture's own address, made when a row first shows it: the page keeps pictures as
  // bytes, and a Blob with its URL costs the browser a round trip each.
  pictureUrl(row) {
    if (!row.pictureUrl) {
      row.pictureUrl = URL.createObjectURL(new Blob([row.jpeg], { type: "image/jpeg" }));
    }
    return row.pictureUrl;
  }

  // --- drawing ---------------------------------------------------------------------------

  rowHeight() {
    return parseFloat(getComputedStyle(this.grid).getPropertyValue("--row-height")) || 48;
  }

  changed(row) {
    this.dirty.add(row);
    this.requestRender();
  }

  relabel() {
    for (const row of this.elements.keys()) this.dirty.add(row);
    this.render();
  }

  requestRender() {
    if (this.renderRequested) return;
    this.renderRequested = true;
    requestAnimationFrame(() => this.render());
  }

  // Puts the rows in view (and a few beyond) in place, and only those.
  render() {
    this.renderRequested = false;
    this.pictureDeadline = performance.now() + kPictureMilliseconds;
    const height = this.rowHeight();
    this.body.style.height = `${this.rows.length * height}px`;
    this.grid.setAttribute("aria-rowcount", String(this.rows.length + 1));
    this.focus = Math.min(this.focus, Math.max(0, this.rows.length - 1));
    const top = this.scroller.scrollTop - this.body.offsetTop;
    const first = Math.max(0, Math.floor(top / height) - kOverscan);
    const last = Math.min(this.rows.length, Math.ceil((top + this.scroller.clientHeight) / height) + kOverscan);
    const inView = new Set(this.rows.slice(first, last));
    for (const [row, element] of this.elements) {
      if (!inView.has(row)) {
        element.remove();
        this.elements.delete(row);
      }
    }
    const ordered = [];
    for (let i = first; i < last; i++) {
      const row = this.rows[i];
      let element = this.elements.get(row);
      if (!element) {
        element = this.build(row);
        this.elements.set(row, element);
        this.fill(row, element);
      } else if (this.dirty.has(row)) {
        this.fill(row, element);
      }
      element.style.top = `${i * height}px`;
      element.setAttribute("aria-rowindex", String(i + 2));
      element.setAttribute("aria-selected", String(row.selected));
      element.classList.toggle("selected", row.selected);
      element.classList.toggle("focused", i === this.focus);
      ordered.push(element);
    }
    this.dirty.clear();
    if (this.picturesLater.size > 0) {
      for (const row of this.picturesLater) this.dirty.add(row);
      this.picturesLater.clear();
      this.requestRender();
    }
    // The elements stand in the order of their rows, as assistive technology reads them.
    const children = this.body.children;
    if (children.length !== ordered.length || ordered.some((element, i) => children[i] !== element)) {
      this.body.replaceChildren(...ordered);
    }
    const focused = this.rows[this.focus];
    const focusedElement = focused && this.elements.get(focused);
    if (focusedElement) {
      this.grid.setAttribute("aria-activedescendant", focusedElement.id);
    } else {
      this.grid.removeAttribute("aria-activedescendant");
    }
  }

  build(row) {
    const element = document.createElement("div");
    element.className = "row";
    element.id = `row-${row.id}`;
    element.setAttribute("role", "row");
    for (const name of ["name", "folder", "size", "result", "jpeg", "picture"]) {
      const cell = document.createElement("div");
      cell.className = name;
      cell.setAttribute("role", "gridcell");
      element.append(cell);
    }
    const [name, folder, size] = element.children;
    name.textContent = row.name;
    name.title = row.name;
    folder.textContent = row.folder;
    folder.title = row.folder;
    size.textContent = groupDigits(row.size);
    element.row = row;
    return element;
  }

  // The cells that change: the outcome, the saving note, the JPEG link and the thumbnail.
  fill(row, element) {
    const [, , , result, jpeg, picture] = element.children;
    const texts = this.texts();
    const lines = [];
    if (row.result) lines.push(format(texts[OUTCOME_TEXTS[row.result]], row.name));
    if (row.saveNote) lines.push(row.saveNote(texts));
    result.textContent = lines.join("\n");
    result.title = result.textContent;
    result.classList.toggle("failed", Boolean(row.result) && !row.jpeg);
    result.classList.toggle("incomplete", row.result === "SourceEnded");
    if (!row.jpeg || (!row.pictureUrl && performance.now() > this.pictureDeadline)) {
      jpeg.replaceChildren();
      picture.replaceChildren();
      if (row.jpeg) this.picturesLater.add(row);
      return;
    }
    const link = document.createElement("a");
    link.textContent = row.outputName;
    link.href = this.pictureUrl(row);
    link.download = row.outputName;
    link.addEventListener("click", () => {
      row.saved = true;
    });
    jpeg.replaceChildren(link);
    picture.replaceChildren(this.thumbnail(row, texts));
  }

  // A button showing the picture, which opens the larger view; or, for a picture the browser
  // cannot draw (an incomplete one, mostly), a placeholder that says so instead of a blank.
  thumbnail(row, texts) {
    const placeholder = () => {
      const label = document.createElement("span");
      label.className = "placeholder";
      label.textContent = texts[row.result === "SourceEnded" ? "IncompletePicture" : "UnshownPicture"];
      return label;
    };
    if (row.drawable === false) return placeholder();
    // The browser draws an incomplete picture as a blank without saying so; only a decode of
    // its own tells. Whole pictures are not decoded twice.
    if (row.result === "SourceEnded" && row.drawable === undefined) {
      row.drawable = null;
      createImageBitmap(new Blob([row.jpeg])).then(
        (bitmap) => {
          bitmap.close();
          row.drawable = true;
        },
        () => {
          row.drawable = false;
          this.changed(row);
        },
      );
    }
    const button = document.createElement("button");
    button.type = "button";
    button.className = "thumbnail";
    const img = document.createElement("img");
    img.alt = row.outputName;
    img.decoding = "async";
    img.addEventListener("error", () => {
      row.drawable = false;
      button.replaceWith(placeholder());
    });
    img.src = this.pictureUrl(row);
    button.append(img);
    button.addEventListener("click", () => this.onOpenPicture(row));
    return button;
  }

  // --- sorting ---------------------------------------------------------------------------

  // The first click on a column sorts it in the direction last used; each further click on
  // the same column reverses it, as in the window program.
  sortBy(column) {
    if (column === this.sortColumn) this.descending = !this.descending;
    this.sortColumn = column;
    const focused = this.rows[this.focus];
    this.rows.sort((a, b) => this.compare(a, b));
    if (focused) this.focus = this.rows.indexOf(focused);
    this.updateSortMarks();
    this.render();
  }

  updateSortMarks() {
    for (const title of this.grid.querySelectorAll("[data-column]")) {
      if (title.dataset.column === this.sortColumn) {
        title.setAttribute("aria-sort", this.descending ? "descending" : "ascending");
      } else {
        title.removeAttribute("aria-sort");
      }
    }
  }

  // --- selection -------------------------------------------------------------------------

  shown() {
    return this.rows;
  }

  selected() {
    return this.rows.filter((row) => row.selected);
  }

  withPictures() {
    return this.rows.filter((row) => row.jpeg);
  }

  totalBytes() {
    return this.rows.reduce((sum, row) => sum + row.size, 0);
  }

  selectAll() {
    for (const row of this.rows) row.selected = true;
    this.render();
  }

  selectRange(from, to) {
    const [low, high] = from < to ? [from, to] : [to, from];
    this.rows.forEach((row, i) => {
      row.selected = i >= low && i <= high;
    });
  }

  selectOnly(index) {
    for (const row of this.rows) row.selected = false;
    this.rows[index].selected = true;
    this.anchor = this.rows[index];
  }

  clicked(event) {
    const element = event.target.closest(".row");
    if (!element || event.target.closest("a, button")) return;
    const index = this.rows.indexOf(element.row);
    if (index < 0) return;
    this.focus = index;
    if (event.shiftKey && this.anchor) {
      this.selectRange(this.rows.indexOf(this.anchor), index);
    } else if (event.ctrlKey || event.metaKey) {
      element.row.selected = !element.row.selected;
      this.anchor = element.row;
    } else {
      this.selectOnly(index);
    }
    this.grid.focus({ preventScroll: true });
    this.render();
  }

  // Keys as in a desktop list: arrows, Home, End, Page Up and Page Down move the focus and
  // select the row they reach; with Shift they select from the anchor to it, with Ctrl they
  // move the focus alone. Space selects the focused row, Ctrl+Space adds it to the selection
  // or takes it out, Ctrl+A selects every row, Enter opens the focused row's picture.
  keyPressed(event) {
    if (event.target !== this.grid || this.rows.length === 0) return;
    const control = event.ctrlKey || event.metaKey;
    const page = Math.max(1, Math.floor(this.scroller.clientHeight / this.rowHeight()) - 1);
    const last = this.rows.length - 1;
    const moves = {
      ArrowDown: this.focus + 1,
      ArrowUp: this.focus - 1,
      PageDown: this.focus + page,
      PageUp: this.focus - page,
      Home: 0,
      End: last,
    };
    if (event.key in moves) {
      event.preventDefault();
      this.focus = Math.min(last, Math.max(0, moves[event.key]));
      if (event.shiftKey) {
        if (!this.anchor) this.anchor = this.rows[0];
        this.selectRange(this.rows.indexOf(this.anchor), this.focus);
      } else if (!control) {
        this.selectOnly(this.focus);
      }
      this.scrollToFocus();
      this.render();
    } else if (event.key === " ") {
      event.preventDefault();
      const row = this.rows[this.focus];
      if (control) {
        row.selected = !row.selected;
        this.anchor = row;
      } else if (event.shiftKey && this.anchor) {
        this.selectRange(this.rows.indexOf(this.anchor), this.focus);
      } else {
        this.selectOnly(this.focus);
      }
      this.render();
    } else if (control && event.key.toLowerCase() === "a") {
      event.preventDefault();
      this.selectAll();
    } else if (event.key === "Enter") {
      const row = this.rows[this.focus];
      if (row.jpeg) {
        event.preventDefault();
        this.onOpenPicture(row);
      }
    }
  }

  // Scrolls so that the focused row stands in full below the column titles.
  scrollToFocus() {
    const height = this.rowHeight();
    const titles = this.body.offsetTop - this.grid.offsetTop;
    const top = this.body.offsetTop + this.focus * height;
    const scroller = this.scroller;
    if (top - titles < scroller.scrollTop) {
      scroller.scrollTop = top - titles;
    } else if (top + height > scroller.scrollTop + scroller.clientHeight) {
      scroller.scrollTop = top + height - scroller.clientHeight;
    }
  }
}
