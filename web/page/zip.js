// One ZIP file of the JPEG files, made as it is read: the ZIP's own small records around the
// pictures' bytes, handed out one after another, so that a ZIP streamed into a download never
// holds more than a piece of a picture. The pictures are stored as they are (a JPEG does not
// compress), their CRC-32 comes from the conversion, and each keeps its CAM file's
// modification time. Names are UTF-8 and the file says it was made on Unix, where "\" is no
// separator. Offsets past 4 GiB and more than 65,535 entries take the ZIP64 records.

// Versions needed to extract: 2.0 for a stored file, 4.5 where a ZIP64 record is used.
const kVersion = 20;
const kVersion64 = 45;
const kMadeOnUnix = 3 << 8;
const kUtf8Names = 0x0800;
const kRegularFile = 0o100644 << 16;
const kMax32 = 0xffffffff;
const kMax16 = 0xffff;

class Record {
  constructor(size) {
    this.bytes = new Uint8Array(size);
    this.view = new DataView(this.bytes.buffer);
    this.at = 0;
  }

  u16(value) {
    this.view.setUint16(this.at, value, true);
    this.at += 2;
    return this;
  }

  u32(value) {
    this.view.setUint32(this.at, value, true);
    this.at += 4;
    return this;
  }

  u64(value) {
    this.view.setBigUint64(this.at, BigInt(value), true);
    this.at += 8;
    return this;
  }

  raw(bytes) {
    this.bytes.set(bytes, this.at);
    this.at += bytes.length;
    return this;
  }

  // The fields the local and the central record share, from the version needed to extract to
  // the extra field's length: a stored file with a UTF-8 name.
  file(version, { time, date, crc, size, nameLength, extraLength }) {
    return this.u16(version)
      .u16(kUtf8Names)
      .u16(0) // stored
      .u16(time)
      .u16(date)
      .u32(crc)
      .u32(size)
      .u32(size)
      .u16(nameLength)
      .u16(extraLength);
  }
}

// MS-DOS time and date in local time, two-second steps, as the ZIP format counts them.
function dosDateTime(milliseconds) {
  const d = new Date(milliseconds);
  return {
    time: (d.getHours() << 11) | (d.getMinutes() << 5) | (d.getSeconds() >> 1),
    date: ((d.getFullYear() - 1980) << 9) | ((d.getMonth() + 1) << 5) | d.getDate(),
  };
}

// The "UT" extra field: the exact modification time in seconds since 1970.
function extendedTime(milliseconds) {
  const seconds = Math.floor(milliseconds / 1000);
  if (seconds < 0 || seconds > 0x7fffffff) return new Uint8Array(0);
  return new Record(9).u16(0x5455).u16(5).raw([1]).u32(seconds).bytes;
}

// The largest piece of the ZIP handed on at once when it is streamed.
const kStreamChunk = 1024 * 1024;

// `entries`: { path, data (the picture: bytes, or a Blob), crc, modified (clamped to what the
// ZIP's date can hold), exactModified }; each picture is smaller than 4 GiB (a CAM entry's
// length has 32 bits). The ZIP's parts in order: records (bytes) and the pictures' data.
export function* zipParts(entries) {
  const encoder = new TextEncoder();
  const central = [];
  let offset = 0;
  for (const entry of entries) {
    const size = entry.data.byteLength ?? entry.data.size;
    const name = encoder.encode(entry.path);
    const { time, date } = dosDateTime(entry.modified);
    const extra = extendedTime(entry.exactModified);
    const fields = { time, date, crc: entry.crc, size, nameLength: name.length };
    const local = new Record(30 + name.length + extra.length)
      .u32(0x04034b50)
      .file(kVersion, { ...fields, extraLength: extra.length })
      .raw(name)
      .raw(extra);
    yield local.bytes;
    yield entry.data;
    // Only the central record can say where a local record past 4 GiB begins.
    const far = offset >= kMax32;
    const zip64 = far ? new Record(12).u16(0x0001).u16(8).u64(offset).bytes : new Uint8Array(0);
    central.push(
      new Record(46 + name.length + zip64.length + extra.length)
        .u32(0x02014b50)
        .u16(kMadeOnUnix | kVersion64)
        .file(far ? kVersion64 : kVersion, { ...fields, extraLength: zip64.length + extra.length })
        .u16(0) // comment
        .u16(0) // disk
        .u16(0) // internal attributes
        .u32(kRegularFile)
        .u32(far ? kMax32 : offset)
        .raw(name)
        .raw(zip64)
        .raw(extra).bytes,
    );
    offset += local.bytes.length + size;
  }
  yield* central;
  const centralSize = central.reduce((sum, record) => sum + record.length, 0);
  const count = entries.length;
  if (offset >= kMax32 || count >= kMax16) {
    yield new Record(56)
      .u32(0x06064b50)
      .u64(44)
      .u16(kMadeOnUnix | kVersion64)
      .u16(kVersion64)
      .u32(0)
      .u32(0)
      .u64(count)
      .u64(count)
      .u64(centralSize)
      .u64(offset).bytes;
    yield new Record(20)
      .u32(0x07064b50)
      .u32(0)
      .u64(offset + centralSize)
      .u32(1).bytes;
  }
  yield new Record(22)
    .u32(0x06054b50)
    .u16(0)
    .u16(0)
    .u16(Math.min(count, kMax16))
    .u16(Math.min(count, kMax16))
    .u32(centralSize)
    .u32(offset >= kMax32 || count >= kMax16 ? kMax32 : offset)
    .u16(0).bytes;
}

// The whole ZIP file's size, known before it is made.
export function zipSize(entries) {
  let size = 0;
  for (const part of zipParts(entries)) size += part.byteLength ?? part.size;
  return size;
}

// The ZIP as a Blob: every picture copied into it. For a browser that cannot stream it.
export function zipBlob(entries) {
  return new Blob([...zipParts(entries)], { type: "application/zip" });
}

// The ZIP as pieces of at most kStreamChunk bytes, each in a buffer of its own (so it can be
// handed on without a copy), made as they are asked for.
export async function* zipPieces(entries) {
  for (const part of zipParts(entries)) {
    const size = part.byteLength ?? part.size;
    for (let at = 0; at < size; at += kStreamChunk) {
      const end = Math.min(size, at + kStreamChunk);
      yield part instanceof Blob
        ? new Uint8Array(await part.slice(at, end).arrayBuffer())
        : part.slice(at, end);
    }
  }
}
