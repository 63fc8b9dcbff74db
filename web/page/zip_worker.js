// Makes one ZIP file of the JPEG files, away from the page: stored as they are (a JPEG does not
// compress), each with its CAM file's modification time.
"use strict";

importScripts("fflate.js");

// The "UT" extra field: the exact modification time in seconds since 1970, beside the ZIP
// header's own local time of two-second steps.
function extendedTime(milliseconds) {
  const seconds = Math.floor(milliseconds / 1000);
  if (seconds < 0 || seconds > 0x7fffffff) return {};
  const field = new Uint8Array(5);
  field[0] = 1;
  new DataView(field.buffer).setUint32(1, seconds, true);
  return { 0x5455: field };
}

self.onmessage = (event) => {
  try {
    const files = {};
    for (const entry of event.data) {
      files[entry.path] = [
        entry.bytes,
        { level: 0, mtime: entry.modified, extra: extendedTime(entry.exactModified) },
      ];
    }
    const zip = fflate.zipSync(files);
    postMessage({ zip: zip.buffer }, [zip.buffer]);
  } catch (error) {
    postMessage({ error: String(error) });
  }
};
