// Every text the page shows, in English and Japanese: the window program's own texts where it
// has them (half-width katakana included), and how the language is chosen.

export const TEXTS = {
  en: {
    language: "English",
    tagline: "Turns a camera's CAM files into JPEG files, on this computer: nothing is uploaded.",
    chooseFolder: "Choose Folder...",
    chooseFiles: "Choose Files...",
    dropHint: "or drop CAM files or folders anywhere on this page (folders named RECYCLED are skipped)",
    convert: "Convert",
    convertAll: "Convert All",
    stop: "Stop",
    saveToFolder: "Save to Folder...",
    downloadZip: "Download ZIP",
    nameTitle: "Name",
    folderTitle: "Folder",
    sizeTitle: "Size",
    resultTitle: "Result",
    jpegTitle: "JPEG",
    pictureTitle: "Picture",
    fileCount: (count) => (count === 1 ? "%d File" : "%d Files"),
    byteUnit: (count) => (count < 2 ? "Byte" : "Bytes"),
    position: "%d/%d",
    finished: "Finished",
    aborted: "Aborted",
    engineMissing: "The converter could not be loaded: reload the page",
    zipping: "Making the ZIP file...",
    close: "Close",
    download: "Download",
    // Outcomes of a conversion, by the engine's classification.
    Converted: "Converted",
    SourceEnded: "'%s' ends early: its picture is incomplete",
    NoPicture: "'%s' holds no picture",
    UnusableTables: "'%s' holds no picture",
    NotCamFile: "'%s' is not a CAM file",
    WriteFailed: "Can't write jpg file",
    OutOfMemory: "Not enough memory",
    CannotOpen: "Can't open cam file",
    // Saving.
    inquiryTitle: "Inquiry",
    replaceQuestion: "'%s' already exist. Do you want to replace it?",
    yes: "Yes",
    no: "No",
    yesToAll: "Yes to All",
    cancel: "Cancel",
    saved: "Saved",
    notReplaced: "Not replaced",
    cantCreate: "Can't create jpg file",
    cantWrite: "Can't write jpg file",
    alreadyWritten: "skipped: its output %s is already written by this run",
    zipHolds: (count) => (count === 1 ? "The ZIP file holds %d picture" : "The ZIP file holds %d pictures"),
    folderHolds: (count) => (count === 1 ? "%d picture saved" : "%d pictures saved"),
    leftOut: "Not included, as another picture has the same name: %s",
    andMore: "%s and %d more",
    clearList: "Clear List",
    clearQuestion: "Converted pictures that were not saved will be lost. Clear the list?",
    nothingSelected: "No file is selected: select files in the list, or use Convert All",
    unreadable: "Could not be read: %s",
    listStopped: "Listing stopped: not every file was listed",
    languageLabel: "Language",
    progressLabel: "Progress",
    listLabel: "CAM files",
    runAnnouncement: (count) => (count === 1 ? "Converting %d file" : "Converting %d files"),
    progressAnnouncement: "%d of %d files converted",
    incompletePicture: "Incomplete picture",
    unshownPicture: "Can't show this picture",
  },
  ja: {
    language: "日本語",
    tagline: "ｶﾒﾗの CAM ﾌｧｲﾙを、このｺﾝﾋﾟｭｰﾀの上で JPEG ﾌｧｲﾙに変換します。ﾌｧｲﾙはどこにも送られません。",
    chooseFolder: "ﾌｫﾙﾀﾞを選択...",
    chooseFiles: "ﾌｧｲﾙを選択...",
    dropHint: "またはこのﾍﾟｰｼﾞに CAM ﾌｧｲﾙやﾌｫﾙﾀﾞをﾄﾞﾛｯﾌﾟしてください (RECYCLED という名前のﾌｫﾙﾀﾞは除きます)",
    convert: "変換",
    convertAll: "一括変換",
    stop: "中断",
    saveToFolder: "ﾌｫﾙﾀﾞに保存...",
    downloadZip: "ZIP でﾀﾞｳﾝﾛｰﾄﾞ",
    nameTitle: "名前",
    folderTitle: "ﾌｫﾙﾀﾞ",
    sizeTitle: "ｻｲｽﾞ",
    resultTitle: "結果",
    jpegTitle: "JPEG",
    pictureTitle: "画像",
    fileCount: () => "%d 個のﾌｧｲﾙ",
    byteUnit: () => "ﾊﾞｲﾄ",
    position: "%d/%d",
    finished: "変換終了",
    aborted: "中断しました",
    engineMissing: "変換ﾌﾟﾛｸﾞﾗﾑを読み込めません。ﾍﾟｰｼﾞを読み込み直してください",
    zipping: "ZIP ﾌｧｲﾙを作成しています...",
    close: "閉じる",
    download: "ﾀﾞｳﾝﾛｰﾄﾞ",
    Converted: "変換しました",
    SourceEnded: "%s のﾃﾞｰﾀが途中で終わっています。画像は不完全です",
    NoPicture: "%s には画像がありません",
    UnusableTables: "%s には画像がありません",
    NotCamFile: "%s は CAM ﾌｧｲﾙではありません",
    WriteFailed: "JPG ﾌｧｲﾙに書き込めません",
    OutOfMemory: "ﾒﾓﾘが足りません",
    CannotOpen: "CAM ﾌｧｲﾙがｵｰﾌﾟﾝできません",
    inquiryTitle: "問い合わせ",
    replaceQuestion: "%s は既に存在します。上書きしますか?",
    yes: "はい",
    no: "いいえ",
    yesToAll: "すべて上書き",
    cancel: "ｷｬﾝｾﾙ",
    saved: "保存しました",
    notReplaced: "上書きしませんでした",
    cantCreate: "JPG ﾌｧｲﾙが作成できません",
    cantWrite: "JPG ﾌｧｲﾙに書き込めません",
    alreadyWritten: "出力 %s はこの保存で既に書き込まれています",
    zipHolds: () => "ZIP ﾌｧｲﾙに %d 枚の画像を入れました",
    folderHolds: () => "%d 枚の画像を保存しました",
    leftOut: "同じ名前の画像があるため含めませんでした: %s",
    andMore: "%s ほか %d 個",
    clearList: "ﾘｽﾄをｸﾘｱ",
    clearQuestion: "保存していない変換済みの画像は失われます。ﾘｽﾄをｸﾘｱしますか?",
    nothingSelected: "ﾌｧｲﾙが選択されていません。一覧からﾌｧｲﾙを選択するか、一括変換を使ってください",
    unreadable: "読み込めませんでした: %s",
    listStopped: "一覧の作成を中断しました。すべてのﾌｧｲﾙは表示されていません",
    languageLabel: "言語",
    progressLabel: "進行状況",
    listLabel: "CAM ﾌｧｲﾙ",
    runAnnouncement: () => "%d 個のﾌｧｲﾙを変換しています",
    progressAnnouncement: "%d/%d 個のﾌｧｲﾙを変換しました",
    incompletePicture: "不完全な画像",
    unshownPicture: "この画像は表示できません",
  },
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

// "1,234,567": digits in groups of three, as the window program's size column shows them.
export function groupDigits(count) {
  return String(count).replace(/\B(?=(\d{3})+(?!\d))/g, ",");
}

// The status bar's total: "999 Bytes", "1 Byte", "1,234 Bytes" or "1,234 ﾊﾞｲﾄ".
export function formatByteSize(texts, count) {
  return `${groupDigits(count)} ${texts.byteUnit(count)}`;
}
