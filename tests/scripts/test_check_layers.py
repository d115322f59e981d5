"""scripts/check-layers judges the files the compiler opens, however an include is spelt."""
import json
import subprocess
import tempfile
import unittest
from pathlib import Path

CHECK = Path(__file__).resolve().parents[2] / "scripts" / "check-layers"

FILES = {
    "core/ProgramTitle.hpp": "#pragma once\n",
    "core/Walk.cpp": "#include <vector>\n#include \"ProgramTitle.hpp\"\n"
                     "#include \"platform/FileSystem.hpp\"\n",
    "platform/FileSystem.hpp": "#pragma once\n#include <string>\n",
    "platform/qt/QtClipboard.hpp": "#pragma once\n#include \"platform/FileSystem.hpp\"\n",
    "platform/qt/QtMsgBox.hpp": "#pragma once\n",
    "platform/posix/support/UriList.hpp": "#pragma once\n",
    "platform/posix/IniText.cpp": "#include <unistd.h>\n#include \"support/UriList.hpp\"\n",
    "ui/qt/FontWidth.cpp": "#include \"core/ProgramTitle.hpp\"\n",
}
# Each way around the layers that the spelling of an include used to hide.
WALK_AROUNDS = {
    "ui/qt/FontWidth.cpp": ("#include <platform/qt/QtMsgBox.hpp>\n",
                            "ui/qt/FontWidth.cpp includes platform/qt/QtMsgBox.hpp"),
    "platform/posix/IniText.cpp": ("#include <core/ProgramTitle.hpp>\n",
                                   "platform/posix/IniText.cpp includes core/ProgramTitle.hpp"),
    "platform/posix/Other.cpp": ("#include \"../../core/ProgramTitle.hpp\"\n",
                                 "platform/posix/Other.cpp includes core/ProgramTitle.hpp"),
    "core/Walk.cpp": ("#include \"../platform/qt/QtClipboard.hpp\"\n",
                      "core/Walk.cpp includes platform/qt/QtClipboard.hpp"),
    "core/Clock.cpp": ("#include <unistd.h>\n",
                       "core/Clock.cpp includes /usr/include/unistd.h: not the standard"),
}


def check(files):
    with tempfile.TemporaryDirectory() as folder:
        root = Path(folder)
        build = root / "build" / "linux"
        build.mkdir(parents=True)
        commands = []
        for name, text in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            # Headers differ in their text, or GCC takes two for one under #pragma once.
            (root / name).write_text("// %s\n%s" % (name, text))
            if name.endswith(".cpp"):
                commands.append({"directory": str(build), "file": str(root / name),
                                 "command": "c++ -I%s -std=c++20 -o x.o -c %s" % (root,
                                                                                root / name)})
        (build / "compile_commands.json").write_text(json.dumps(commands))
        run = subprocess.run([str(CHECK), str(build), str(root)], capture_output=True,
                             text=True)
        return run.returncode, run.stdout


class CheckLayers(unittest.TestCase):
    def test_allowed_includes_pass(self):
        self.assertEqual(check(FILES), (0, ""))

    def test_every_walk_around_fails(self):
        for name, (line, complaint) in WALK_AROUNDS.items():
            with self.subTest(name=name):
                files = dict(FILES)
                files[name] = files.get(name, "") + line
                status, output = check(files)
                self.assertEqual(status, 1, output)
                self.assertIn(complaint, output)


if __name__ == "__main__":
    unittest.main()
