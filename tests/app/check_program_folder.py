"""The build copies a shipped file into the program folder only where the folder lacks it."""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

cmake, rule, project = sys.argv[1:4]


def build(root):
    # The build runs the configure again by itself when a shipped file is added.
    if not (root / "build").exists():
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        args = [cmake, "-S", project, "-B", str(root / "build"), *generator, f"-DRULE_FILE={rule}",
                f"-DDATA_DIR={root / 'data'}", f"-DPROGRAM_DIR={root / 'program'}"]
        run(args)
    run([cmake, "--build", str(root / "build")])


def run(args):
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(done.stdout + done.stderr)


with tempfile.TemporaryDirectory() as tmp:
    root = pathlib.Path(tmp)
    data, program = root / "data", root / "program"
    (data / "ini").mkdir(parents=True)
    (data / "ini" / "setting.cfg").write_bytes(b"shipped\r\n")
    (data / "ini" / "language.ini").write_bytes(b"shipped\r\n")
    build(root)
    assert (program / "ini" / "setting.cfg").read_bytes() == b"shipped\r\n"
    assert (program / "AccessData").is_dir() and (program / "temp").is_dir()

    # The program writes its settings; a pull brings a newer shipped copy; a file is deleted; one is added.
    (program / "ini" / "setting.cfg").write_bytes(b"the operator's\r\n")
    os.utime(program / "ini" / "setting.cfg", (1, 1))
    (data / "ini" / "setting.cfg").write_bytes(b"shipped anew\r\n")
    (program / "ini" / "language.ini").unlink()
    (data / "ini" / "PresetKey.ini").write_bytes(b"added\r\n")
    build(root)
    assert (program / "ini" / "setting.cfg").read_bytes() == b"the operator's\r\n"
    assert (program / "ini" / "language.ini").read_bytes() == b"shipped\r\n"
    assert (program / "ini" / "PresetKey.ini").read_bytes() == b"added\r\n"
print("ok")
