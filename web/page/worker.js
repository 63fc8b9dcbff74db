// The conversion worker: runs the engine (WebAssembly, built from the programs' own sources)
// one file after another, away from the page, so that the page never waits for a conversion.
"use strict";

importScripts("glimmer-engine.js");

let engine = GlimmerEngine();

// Files read ahead of the one being converted, so that reading from the disk overlaps
// converting; a few, within a few megabytes: more reads at once only slow each other down.
const kReadAheadFiles = 2;
const kReadAheadBytes = 16 * 1024 * 1024;

// The page decides after each file whether the next one follows ("next") or the run ends
// ("halt"): it alone knows of a click on Stop, and it gets no file's result that it did not
// let follow.
let decide = null;
function pageDecision() {
  return new Promise((resolve) => {
    decide = resolve;
  });
}

function joined(parts) {
  if (parts.length === 1) return parts[0];
  const whole = new Uint8Array(parts.reduce((sum, part) => sum + part.length, 0));
  let offset = 0;
  for (const part of parts) {
    whole.set(part, offset);
    offset += part.length;
  }
  return whole;
}

// The output's parts are copies out of the engine's memory; the result owns its whole buffer.
function convert(module, bytes) {
  module.camBytes = bytes;
  module.jpegParts = [];
  const code = module._glimmer_convert(bytes.length);
  const parts = module.jpegParts;
  module.camBytes = null;
  module.jpegParts = null;
  const keeps = module._glimmer_keeps_output(code) !== 0;
  return {
    result: module.UTF8ToString(module._glimmer_result_name(code)),
    jpeg: keeps ? joined(parts) : null,
  };
}

class ReadAhead {
  constructor(files) {
    this.files = files;
    this.reads = new Map();
    this.next = 0;
    this.bytes = 0;
  }

  // The bytes of file i, or null when it cannot be read (removed, or no longer readable).
  async take(i) {
    this.fill(i);
    const bytes = await this.reads.get(i);
    this.reads.delete(i);
    this.bytes -= this.files[i].file.size;
    this.fill(i + 1);
    return bytes;
  }

  fill(from) {
    this.next = Math.max(this.next, from);
    while (
      this.next < this.files.length &&
      (this.reads.size === 0 ||
        (this.reads.size <= kReadAheadFiles &&
          this.bytes + this.files[this.next].file.size <= kReadAheadBytes))
    ) {
      const { file } = this.files[this.next];
      this.reads.set(
        this.next,
        file.arrayBuffer().then(
          (buffer) => new Uint8Array(buffer),
          () => null,
        ),
      );
      this.bytes += file.size;
      this.next += 1;
    }
  }
}

// One file: its output name and the engine's result. Memory the engine cannot get (a file
// larger than the browser lets a page hold) is that file's failure, not the run's: the engine
// is started afresh for the next file.
async function convertFile(file, bytes) {
  let module = await engine;
  const outputName = module.ccall("glimmer_output_name", "string", ["string"], [file.name]);
  if (!bytes) return { outputName, result: "CannotOpen", jpeg: null };
  try {
    return { outputName, ...convert(module, bytes) };
  } catch {
    engine = GlimmerEngine();
    module = await engine;
    return { outputName, result: "OutOfMemory", jpeg: null };
  }
}

// While the page decides about the next file, that file is already read and converted, and
// its result is kept back: the page sees it only once it has said "next", and never after
// "halt", so for the page the file was never begun.
async function run({ runId, files }) {
  const reads = new ReadAhead(files);
  let upcoming = convertFile(files[0].file, await reads.take(0));
  for (let i = 0; i < files.length; i++) {
    const { outputName, result, jpeg } = await upcoming;
    // Each output owns its whole buffer (see convert), so it moves to the page without a copy.
    const buffer = jpeg ? jpeg.buffer : null;
    postMessage(
      { type: "result", runId, index: files[i].index, result, jpeg: buffer, outputName },
      buffer ? [buffer] : [],
    );
    if (i + 1 === files.length) break;
    const next = files[i + 1].file;
    upcoming = reads.take(i + 1).then((bytes) => convertFile(next, bytes));
    if (!(await pageDecision())) {
      upcoming.catch(() => {});
      break;
    }
  }
}

self.onmessage = (event) => {
  const message = event.data;
  if (message.type === "run") {
    // Only an engine that cannot be loaded at all gets here.
    run(message).catch(() => postMessage({ type: "broken", runId: message.runId }));
  } else if (decide) {
    const resolve = decide;
    decide = null;
    resolve(message.type === "next");
  }
};
