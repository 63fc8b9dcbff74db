# The folders the page's tests give to the page, made from scripts/make-test-cams (pictures
# encoded by cjpeg), and glimmer-convert's output for every file in them, to compare with.
import os
import re
import shutil
import struct
import subprocess
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import text_catalogue  # noqa: E402

TEXTS = text_catalogue.load()


def outcome_texts():
    """{test file: identifier of the text of its outcome} from the table all front ends share."""
    table = {}
    with open(os.path.join(ROOT, "tests", "outcome_texts.txt"), encoding="utf-8") as lines:
        for line in lines:
            if line.strip() and not line.startswith("#"):
                name, identifier = line.split()
                table[name] = identifier
    return table


OUTCOMES = outcome_texts()


def text(identifier, language, *arguments):
    """The catalogue's text in the language, its "%s" and "%d" filled in order."""
    form = TEXTS.text(identifier, language)
    assert form is not None, identifier
    for argument in arguments:
        form = re.sub(r"%[sd]", lambda _: str(argument), form, count=1)
    return form


def command(identifier, language):
    """A command's text as the page shows it: without the access key of the window program's
    button ("&Convert", "変換(&C)")."""
    return re.sub(r"&(&?)", r"\1", re.sub(r"\(&.\)", "", text(identifier, language)))


# (place in the card folder, test file it is a copy of).
CARD = [
    ("scans-sunset.cam", "scans-sunset.cam"),
    ("夕焼け.cam", "scans-rings.cam"),
    ("DCIM/100CAM/jpeg-bands.cam", "jpeg-bands.cam"),
    ("DCIM/100CAM/UPPER.CAM", "two-scans.cam"),
    ("DCIM/100CAM/cut-in-scan2.cam", "cut-in-scan2.cam"),
    ("DCIM/101CAM/no-picture.cam", "no-picture.cam"),
    ("DCIM/101CAM/zero-jpeg.cam", "zero-jpeg.cam"),
    ("DCIM/101CAM/components-2.cam", "components-2.cam"),
    ("DCIM/101CAM/not-cam.cam", "not-cam.cam"),
    # A name that is nothing but the extension is a CAM file's name too, in every program.
    ("DCIM/101CAM/.cam", "scans-checker.cam"),
]


def outcome(place, language):
    """The row's text for a file of the card: its outcome's text with the file's name."""
    source = next(entry[1] for entry in CARD if entry[0] == place)
    return text(OUTCOMES[source], language, place.split("/")[-1])


# Files in the card folder that the page must not list.
UNLISTED = [
    ("RECYCLED/scans-checker.cam", "scans-checker.cam"),
    ("DCIM/Recycled/scans-sunset.cam", "scans-sunset.cam"),
    ("notes.txt", "bands.jpg"),
]

# Distinct times, an odd number of seconds apart, so that a ZIP's two-second steps show.
FIRST_TIME = time.mktime((2003, 5, 17, 10, 20, 31, 0, 0, -1))


def make_test_cams(folder):
    if not os.path.exists(os.path.join(folder, "stamp")):
        subprocess.run([os.path.join(ROOT, "scripts", "make-test-cams"), folder], check=True)
    return folder


def build_card(cams, card):
    """The card folder: CARD and UNLISTED laid out, each listed file with its own time."""
    if os.path.exists(card):
        shutil.rmtree(card)
    for i, (place, source) in enumerate(CARD):
        path = os.path.join(card, place)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(os.path.join(cams, source), path)
        moment = FIRST_TIME + i * 3601
        os.utime(path, (moment, moment))
    for place, source in UNLISTED:
        path = os.path.join(card, place)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(os.path.join(cams, source), path)
    return card


def converter_outputs(converter, card, work):
    """glimmer-convert's output for each listed file: {place: (name, bytes), or None when it
    wrote none}. Each file is converted on its own into a folder of its own."""
    outputs = {}
    for i, (place, _) in enumerate(CARD):
        out = os.path.join(work, "converted-%d" % i)
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        subprocess.run([converter, "-q", "-o", out, os.path.join(card, place)],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        written = os.listdir(out)
        assert len(written) <= 1, written
        if written:
            with open(os.path.join(out, written[0]), "rb") as f:
                outputs[place] = (written[0], f.read())
        else:
            outputs[place] = None
    return outputs


def big_cam(cams, path, mib):
    """One tag-4 entry of `mib` MiB: a real JPEG followed by padding, which a conversion copies
    whole."""
    with open(os.path.join(cams, "bands.jpg"), "rb") as f:
        jpeg = f.read()
    head = 4 + 2 + 16
    length = mib * 1024 * 1024 - head
    with open(path, "wb") as f:
        f.write(b"\x07\x20\x4d\x4d" + struct.pack(">HHI", 1, 4, length) + bytes(10))
        f.write(jpeg)
        chunk = bytes(range(256)) * 4096
        left = length - len(jpeg)
        while left > 0:
            f.write(chunk[:left])
            left -= min(left, len(chunk))
    return path


def padded_cam(cams, path, size):
    """A CAM file of `size` bytes whose picture (a complete JPEG, tag 4) stands at its end,
    behind two other entries that fill the rest; the filling is a hole in the file, which
    costs no disk space. A converter needs only the directory and the picture's bytes."""
    with open(os.path.join(cams, "bands.jpg"), "rb") as f:
        jpeg = f.read()
    head = 4 + 2 + 3 * 16
    filling = size - head - len(jpeg)
    first = filling // 2
    with open(path, "wb") as f:
        f.write(b"\x07\x20\x4d\x4d" + struct.pack(">H", 3))
        for tag, length in ((1, first), (1, filling - first), (4, len(jpeg))):
            f.write(struct.pack(">HI", tag, length) + bytes(10))
        f.seek(filling, os.SEEK_CUR)
        f.write(jpeg)
    return path
