// The conversion worker: runs the engine (WebAssembly, built from the programs' own sources)
// away from the page. It reads ahead with several reads in flight, converts the files in
// order, and hands the results to the page in batches; the page never waits for a file, and
// the worker never waits for the page.
"use strict";

importScripts("glimmer-engine.js");

let engine = GlimmerEngine();

// Reads in flight ahead of the conversions: enough to keep the disk and the browser's file
// threads busy, each of at most kHeadBytes.
const kReadsInFlight = 8;
// How much of a file is read before its conversion: small CAM files whole, of a larger one
// the head with its directory. What the engine asks for beyond it is read then, a window of
// kWindowBytes at a time, so a large file costs its picture's size, not its own.
const kHeadBytes = 512 * 1024;
const kWindowBytes = 1024 * 1024;
// Results go to the page at most this often (or once the run ends), each batch in one message.
const kBatchMilliseconds = 25;

// The CAM file as the engine reads it: the head read ahead, and windows read on demand.
class CamSource {
  constructor(file, size, head) {
    this.file = file;
    this.size = size;
    this.head = head;
    this.window = null;
    this.windowStart = 0;
    this.failed = false;
  }

  read(position, size) {
    const end = Math.min(position + size, this.size);
    if (end <= this.head.length) return this.head.subarray(position, end);
    const from = position - this.windowStart;
    if (this.window && from >= 0 && end - this.windowStart <= this.window.length) {
      return this.window.subarray(from, end - this.windowStart);
    }
    try {
      const windowEnd = Math.min(this.size, position + Math.max(size, kWindowBytes));
      const reader = new FileReaderSync();
      this.window = new Uint8Array(reader.readAsArrayBuffer(this.file.slice(position, windowEnd)));
      this.windowStart = position;
    } catch {
      this.failed = true;
      this.window = null;
      return new Uint8Array(0);
    }
    return this.window.subarray(0, end - position);
  }
}

// The output's bytes, gathered into one buffer of their own, which moves to the page without a
// copy.
class JpegSink {
  constructor() {
    this.parts = [];
    this.size = 0;
  }

  write(bytes) {
    this.parts.push(bytes.slice());
    this.size += bytes.length;
  }

  bytes() {
    if (this.parts.length === 1) return this.parts[0];
    const whole = new Uint8Array(this.size);
    let at = 0;
    for (const part of this.parts) {
      whole.set(part, at);
      at += part.length;
    }
    return whole;
  }
}

// The heads of the run's files, read in order with up to kReadsInFlight at once. A file that
// cannot be read (removed, or no longer readable) gives null.
class HeadReads {
  constructor(files) {
    this.files = files;
    this.reads = new Map();
    this.next = 0;
  }

  take(i) {
    this.fill(i);
    const read = this.reads.get(i);
    this.reads.delete(i);
    this.fill(i + 1);
    return read;
  }

  fill(from) {
    this.next = Math.max(this.next, from);
    while (this.next < this.files.length && this.reads.size < kReadsInFlight) {
      const { file, size } = this.files[this.next];
      // A slice is a Blob of its own, which costs a round trip to the browser: a file no larger
      // than its head is read as it is.
      const head = size <= kHeadBytes ? file : file.slice(0, kHeadBytes);
      this.reads.set(
        this.next,
        head.arrayBuffer().then(
          (buffer) => new Uint8Array(buffer),
          () => null,
        ),
      );
      this.next += 1;
    }
  }
}

// One file: its output name, the engine's result, and the picture with its CRC-32. Memory the
// engine cannot get is that file's failure, not the run's: the engine is started afresh.
// (The picture is not made a Blob here: a Blob costs a round trip to the browser each, more
// than converting a file; the page makes Blobs only for the pictures it shows.)
async function convertFile(file, size, head) {
  let module = await engine;
  const outputName = module.ccall("glimmer_output_name", "string", ["string"], [file.name]);
  if (!head) return { outputName, result: "CannotOpen", jpeg: null };
  const source = new CamSource(file, size, head);
  const sink = new JpegSink();
  module.camSource = source;
  module.jpegSink = sink;
  try {
    const code = module._glimmer_convert(size);
    if (source.failed) return { outputName, result: "CannotOpen", jpeg: null };
    const keeps = module._glimmer_keeps_output(code) !== 0;
    return {
      outputName,
      result: module.UTF8ToString(module._glimmer_result_name(code)),
      jpeg: keeps ? sink.bytes() : null,
      crc: module._glimmer_output_crc() >>> 0,
    };
  } catch {
    engine = GlimmerEngine();
    module = await engine;
    return { outputName, result: "OutOfMemory", jpeg: null };
  } finally {
    module.camSource = null;
    module.jpegSink = null;
  }
}

// A turn of the worker's event loop, so that a message from the page (Stop) comes through.
function nextTurn() {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = () => resolve();
    channel.port2.postMessage(null);
  });
}

// The run the worker is on; a new run or Stop ends it before its next file.
let currentRun = null;

// Converts the files in order and posts their results in batches. With `stopAtFailure` the
// run ends after the first file that gives no picture (Convert of a selection). The last batch
// says that the run is over.
async function run({ runId, files, stopAtFailure }) {
  const state = { runId, stopped: false };
  currentRun = state;
  const heads = new HeadReads(files);
  let batch = [];
  let posted = performance.now();
  const post = (over) => {
    const buffers = batch.filter((result) => result.jpeg).map((result) => result.jpeg.buffer);
    postMessage({ type: "results", runId, results: batch, over }, buffers);
    batch = [];
    posted = performance.now();
  };
  for (let i = 0; i < files.length; i++) {
    const head = await heads.take(i);
    if (state.stopped) return;
    const outcome = await convertFile(files[i].file, files[i].size, head);
    batch.push({ index: files[i].index, ...outcome });
    if (stopAtFailure && !outcome.jpeg) break;
    if (performance.now() - posted >= kBatchMilliseconds) {
      post(false);
      await nextTurn();
      if (state.stopped) return;
    }
  }
  post(true);
  if (currentRun === state) currentRun = null;
}

self.onmessage = (event) => {
  const message = event.data;
  if (currentRun) currentRun.stopped = true;
  if (message.type === "run") {
    // Only an engine that cannot be loaded at all gets here.
    run(message).catch(() => postMessage({ type: "broken", runId: message.runId }));
  }
};
