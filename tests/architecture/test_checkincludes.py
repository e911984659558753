#!/usr/bin/env python3
"""The include check fails on every kind of include that runs the wrong way
and passes a tree whose includes run app -> ui -> platform -> game -> storage."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))

import checkincludes  # noqa: E402

SOUND = {
    "storage/settings.h": "#include <string>\n",
    "game/toolkit.h": "#pragma once\n",
    "game/mainform.h": '#include "game/toolkit.h"\n#include "storage/settings.h"\n',
    "platform/bell.h": '#include "game/toolkit.h"\n#include <QObject>\n',
    "ui/hopsala.h": '#include "game/mainform.h"\n#include "platform/bell.h"\n#include <QMainWindow>\n',
    "ui/hopsala.cpp": '#include "ui/hopsala.h"\n#include "storage/settings.h"\n',
    "app/start.cpp": '#include "ui/hopsala.h"\n',
}


class IncludeCheckTest(unittest.TestCase):
    def problemsWith(self, extra):
        with tempfile.TemporaryDirectory() as root:
            for path, text in {**SOUND, **extra}.items():
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), "w") as file:
                    file.write(text)
            return checkincludes.check(root)

    def assertOneProblem(self, extra, words):
        problems = self.problemsWith(extra)
        self.assertEqual(len(problems), 1, problems)
        self.assertIn(words, problems[0])

    def test_aTreeWhoseIncludesRunDownwardsPasses(self):
        self.assertEqual(self.problemsWith({}), [])

    def test_theGameIncludingFromUiFails(self):
        self.assertOneProblem({"game/ball.cpp": '#include "ui/hopsala.h"\n'}, "game/ball.cpp")

    def test_storageIncludingFromTheGameByARelativePathFails(self):
        self.assertOneProblem({"storage/read.cpp": '#include "../game/mainform.h"\n'},
                              "against the direction")

    def test_anIncludeOfAMissingFileInAHigherLayerFails(self):
        self.assertOneProblem({"storage/read.cpp": "#include <ui/gone.h>\n"}, "ui/gone.h")

    def test_aQtHeaderInTheGameOrInStorageFails(self):
        for path, header in (("game/clock.cpp", "<QTime>"), ("storage/file.cpp", "<QtCore/QFile>"),
                             ("storage/text.h", "<qstring.h>")):
            with self.subTest(path=path):
                self.assertOneProblem({path: "#include %s\n" % header}, "Qt header")

    def test_twoFilesIncludingEachOtherFail(self):
        self.assertOneProblem({"ui/a.h": '#include "ui/b.h"\n', "ui/b.h": '#include "a.h"\n'},
                              "include cycle: ui/a.h -> ui/b.h -> ui/a.h")

    def test_aLongerCycleThroughTheLayersIsNamedWhole(self):
        problems = self.problemsWith({"storage/settings.h": '#include "storage/format.h"\n',
                                      "storage/format.h": '#include "storage/errors.h"\n',
                                      "storage/errors.h": '#include "storage/settings.h"\n'})
        self.assertEqual(len(problems), 1, problems)
        files = problems[0].removeprefix("include cycle: ").split(" -> ")
        self.assertEqual(files[0], files[-1])
        self.assertEqual(sorted(files[1:]), ["storage/errors.h", "storage/format.h",
                                             "storage/settings.h"])


if __name__ == "__main__":
    unittest.main()
