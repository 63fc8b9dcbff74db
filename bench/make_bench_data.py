#!/usr/bin/env python3
# Makes the benchmarks' data: a corpus of camera-like CAM files, one 64 MiB CAM file, and the
# large folder trees that the window program's search and folder browser are measured on.
#   make_bench_data.py corpus DIR COUNT     COUNT CAM files in folders of 100 (DCIM/1nnCAM)
#   make_bench_data.py big FILE MIB         one CAM file of MIB MiB with one tag-4 entry
#   make_bench_data.py padded FILE MIB      one CAM file of MIB MiB holding a small picture
#   make_bench_data.py copies DIR CORPUS N  N cards, each with all of the corpus (hard links)
#   make_bench_data.py flat DIR CORPUS N    N of the corpus's files side by side (hard links)
#   make_bench_data.py tree DIR CORPUS      20,000 files in 2,000 folders, 2,000 of them CAM files
#   make_bench_data.py folders DIR N        N empty folders, up to three levels deep
#   make_bench_data.py rows DIR N           N CAM-named files of random names and sizes (sparse)
# Everything comes from fixed seeds, so two runs make the same bytes.
import importlib.machinery
import importlib.util
import os
import random
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def load_test_cams():
    """The test set's picture painters, cjpeg wrappers and CAM packer, shared rather than copied."""
    path = os.path.join(HERE, "..", "scripts", "make-test-cams")
    loader = importlib.machinery.SourceFileLoader("make_test_cams", path)
    module_spec = importlib.util.spec_from_loader("make_test_cams", loader)
    module = importlib.util.module_from_spec(module_spec)
    loader.exec_module(module)
    return module


cams = load_test_cams()


def magick(image, *operations):
    return subprocess.run(["convert", "ppm:-", *operations, "ppm:-"], input=image,
                          stdout=subprocess.PIPE, check=True).stdout


def picture_entries():
    """Picture entries of the sizes a camera of this kind writes: tag-3 pieces of 480 x 240
    pictures at three qualities (about 10 to 65 KB), and tag-4 JPEG files of 480 x 240 and,
    for the camera's fine mode, 960 x 480 (about 20 to 200 KB)."""
    scans, jpegs = [], []
    for name in sorted(cams.PICTURES):
        plain = cams.ppm(cams.PICTURES[name])
        for image in (plain, magick(plain, "-seed", "7", "-attenuate", "0.6", "+noise", "Gaussian")):
            for quality in (60, 75, 90):
                q0, q1, pieces, _ = cams.split_jpeg(cams.encode_pieces(image, quality))
                if max(len(p) for p in pieces) <= 0xFFFF:
                    scans.append(cams.scans_entry(q0, q1, pieces))
            jpegs.append(cams.encode_plain(image, "-quality", "80"))
            jpegs.append(cams.encode_plain(magick(image, "-resize", "200%"), "-quality", "90"))
    return scans, jpegs


def corpus(out, count):
    scans, jpegs = picture_entries()
    rng = random.Random(2024)
    for i in range(count):
        cam = cams.Cam(i)
        # Cameras put other entries (settings, a thumbnail) before and after the picture.
        for _ in range(rng.randrange(3)):
            cam.add(rng.choice((1, 2, 5, 7)), rng.randbytes(rng.randrange(4096)))
        if rng.random() < 0.6:
            cam.add(cams.TAG_SCANS, rng.choice(scans))
        else:
            cam.add(cams.TAG_JPEG, rng.choice(jpegs))
        if rng.random() < 0.3:
            cam.add(9, rng.randbytes(rng.randrange(512)))
        folder = os.path.join(out, "DCIM", "%03dCAM" % (100 + i // 100))
        cams.write(os.path.join(folder, "PIC%05d.cam" % (i + 1)), cam.bytes())


def big(path, mib):
    """One tag-4 entry: a noisy 2048 x 1024 JPEG, padded after its end marker with further
    bytes until the file is exactly MIB MiB; the converter copies all of it."""
    noise = random.Random(64).randbytes(2048 * 1024 * 3)
    jpeg = cams.encode_plain(b"P6\n2048 1024\n255\n" + noise, "-quality", "95")
    head = len(cams.MAGIC) + 2 + cams.ENTRY_BYTES
    padding = mib * 1024 * 1024 - head - len(jpeg)
    assert padding >= 0
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(cams.MAGIC + struct.pack(">HHI", 1, cams.TAG_JPEG, len(jpeg) + padding)
                + bytes(cams.UNREAD_BYTES))
        f.write(jpeg)
        chunk = random.Random(65).randbytes(1024 * 1024)
        while padding > 0:
            f.write(chunk[:padding])
            padding -= min(padding, len(chunk))


def padded(path, mib):
    """A small tag-3 picture (a few KB) behind one other entry that fills the file up to MIB MiB,
    as a camera's settings or sound would: a converter needs only the directory and the picture.
    The filling is a hole in the file, so it costs no disk space."""
    scans, _ = picture_entries()
    picture = min(scans, key=len)
    head = len(cams.MAGIC) + 2 + 2 * 16
    filling = mib * 1024 * 1024 - head - len(picture)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(cams.MAGIC + struct.pack(">H", 2))
        f.write(struct.pack(">HI", 1, filling) + bytes(10))
        f.write(struct.pack(">HI", cams.TAG_SCANS, len(picture)) + bytes(10))
        f.seek(filling, os.SEEK_CUR)
        f.write(picture)


def copies(out, source, count):
    """COUNT card folders (card1, card2, ...), each holding every file of the corpus in its
    place, so that a larger list has the same kind of files."""
    for card in range(1, count + 1):
        for path in corpus_files(source):
            target = os.path.join(out, "card%d" % card, os.path.relpath(path, source))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            os.link(path, target)


def corpus_files(source):
    found = []
    for folder, _, names in os.walk(source):
        found.extend(os.path.join(folder, n) for n in names if n.endswith(".cam"))
    return sorted(found)


def flat(out, source, count):
    files = corpus_files(source)
    assert len(files) >= count, "the corpus holds too few files"
    os.makedirs(out, exist_ok=True)
    for i in range(count):
        os.link(files[i], os.path.join(out, "IMG%05d.cam" % (i + 1)))


def tree(out, source):
    """2,000 folders (20 at the top, 99 below each), each holding one CAM file and nine other
    files (notes, pictures, settings), as a card filled over years would."""
    files = corpus_files(source)
    rng = random.Random(20000)
    others = (".txt", ".jpg", ".dat", ".ini", ".bmp", ".wav", ".htm", ".log", ".bak")
    n = 0
    for top in range(20):
        top_folder = os.path.join(out, "Album%02d" % top)
        for sub in range(100):
            folder = top_folder if sub == 0 else os.path.join(top_folder, "Roll%02d" % sub)
            os.makedirs(folder, exist_ok=True)
            os.link(files[n % len(files)], os.path.join(folder, "P%05d.cam" % n))
            for k, ext in enumerate(others):
                with open(os.path.join(folder, "note%05d_%d%s" % (n, k, ext)), "wb") as f:
                    f.write(rng.randbytes(rng.randrange(64)))
            n += 1


def folders(out, count):
    """COUNT folders: 20 at the top, 10 below each, and the rest spread below those."""
    made = 0
    tops = [os.path.join(out, "Folder%02d" % i) for i in range(20)]
    middles = [os.path.join(t, "Sub%02d" % j) for t in tops for j in range(10)]
    for path in tops + middles:
        os.makedirs(path, exist_ok=True)
        made += 1
    i = 0
    while made < count:
        os.makedirs(os.path.join(middles[i % len(middles)], "Leaf%03d" % (i // len(middles))))
        made += 1
        i += 1


def rows(out, count):
    """Files only listed and sorted, never read: random names, so that name order and size order
    differ from the order found, and sizes up to 300 KB without using the disk."""
    rng = random.Random(10000)
    letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"
    os.makedirs(out, exist_ok=True)
    made = set()
    while len(made) < count:
        name = "".join(rng.choice(letters) for _ in range(rng.randrange(4, 13))) + ".cam"
        if name.lower() in made:
            continue
        made.add(name.lower())
        with open(os.path.join(out, name), "wb") as f:
            f.truncate(rng.randrange(300 * 1024))


def main(argv):
    command = argv[1] if len(argv) > 1 else ""
    if command == "corpus" and len(argv) == 4:
        corpus(argv[2], int(argv[3]))
    elif command == "big" and len(argv) == 4:
        big(argv[2], int(argv[3]))
    elif command == "padded" and len(argv) == 4:
        padded(argv[2], int(argv[3]))
    elif command == "copies" and len(argv) == 5:
        copies(argv[2], argv[3], int(argv[4]))
    elif command == "flat" and len(argv) == 5:
        flat(argv[2], argv[3], int(argv[4]))
    elif command == "tree" and len(argv) == 4:
        tree(argv[2], argv[3])
    elif command == "folders" and len(argv) == 4:
        folders(argv[2], int(argv[3]))
    elif command == "rows" and len(argv) == 4:
        rows(argv[2], int(argv[3]))
    else:
        sys.exit("usage: make_bench_data.py corpus|big|padded|copies|flat|tree|folders|rows ... (see the head of this file)")


if __name__ == "__main__":
    main(sys.argv)
