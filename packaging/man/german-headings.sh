#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs WEXAL_PROGRAM with the given option for help2man. Qt's command line parser heads the help
# with "Usage:" and "Options:"; help2man in German looks for "Aufruf:" and "Optionen:".
set -euo pipefail
"${WEXAL_PROGRAM:?}" "$@" | sed -e 's/^Usage:\(.*\)\[options\]/Aufruf:\1[Optionen]/' -e 's/^Usage:/Aufruf:/' -e 's/^Options:/Optionen:/'
