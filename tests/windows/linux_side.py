"""The Linux build beside the Windows one: the names Wine gives Linux paths, and the Linux
quarnel-list's text as the Windows programs write it for the same files and options."""

import os
import subprocess


def windows_name(path):
    """The name Wine gives a Linux path: the root is drive Z:."""
    return "Z:" + str(path).replace("/", "\\")


def linux_list_as_on_windows(options, paths, config_home):
    """(exit status, text) of the Linux quarnel-list for the paths, each full path in the form
    Windows gives it. The case options have shaped the Linux text already; only the drive
    letter is new, and it follows them."""
    done = subprocess.run([os.environ["QUARNEL_LIST_LINUX"], "--options", options,
                           *map(str, paths)], capture_output=True, timeout=60,
                          env=dict(os.environ, LANG="de_DE.UTF-8",
                                   XDG_CONFIG_HOME=str(config_home)))
    lower = options[8] == "0" and options[9] != "0"
    drive = "z:" if lower else "Z:"
    lines = done.stdout.decode("utf-8").splitlines(keepends=True)
    text = "".join(drive + line.replace("/", "\\") if line.startswith("/") else line
                   for line in lines)
    return done.returncode, text.encode("utf-8")
