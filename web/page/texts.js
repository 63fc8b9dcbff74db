// The page's texts: every text is a row of the programs' one catalogue (text_catalogue.js is
// generated from it at build time), looked up by its identifier; here the language is chosen
// and the texts are filled in.

import { LANGUAGES, TEXTS } from "./text_catalogue.js";
import { groupDigits } from "./rules.js";

export { LANGUAGES, TEXTS };

// The text of each outcome of a conversion, by the engine's name for it (and "CannotOpen" for
// a file the browser could not read), as the window program shows them.
export const OUTCOME_TEXTS = {
  Converted: "Converted",
  SourceEnded: "SourceEndsEarly",
  NoPicture: "NoPicture",
  UnusableTables: "NoPicture",
  NotCamFile: "NotCamFile",
  WriteFailed: "CannotWriteJpg",
  OutOfMemory: "OutOfMemory",
  CannotOpen: "CannotOpenCam",
};

// Japanese for a browser whose first language is Japanese, English for any other, as the
// window program follows the system's language.
export function languageFor(languages) {
  const first = (languages && languages[0]) || "";
  return first.toLowerCase().startsWith("ja") ? "ja" : "en";
}

// Fills "%s" and "%d" from the arguments in order, as the programs' format strings do.
export function format(template, ...args) {
  let next = 0;
  return template.replace(/%[sd]/g, () => String(args[next++]));
}

// A command's text without its access key, as a page shows it: "&Convert" gives "Convert",
// "変換(&C)" gives "変換".
export function withoutAccessKey(text) {
  return text.replace(/\(&.\)/, "").replace(/&(&?)/g, "$1");
}

// A text that differs by count, with the count: the catalogue's row named with "One" for a
// count of 1, with "Other" for any other ("FileCount" gives "1 File", "2 Files").
export function countText(texts, name, count) {
  return format(texts[count === 1 ? `${name}One` : `${name}Other`], count);
}

// The status bar's total: "999 Bytes", "1 Byte", "1,234 Bytes" or "1,234 ﾊﾞｲﾄ".
export function formatByteSize(texts, count) {
  return `${groupDigits(count)} ${count < 2 ? texts.ByteUnitOne : texts.ByteUnitOther}`;
}
