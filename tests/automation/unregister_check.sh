#!/usr/bin/env bash
# Unregisters the server and checks that its keys are gone (the AppID root stays).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
"$here/scripts/wine-run" regsvr32 /s /u "$1"
"$here/scripts/wine-run" "$2" --gtest_brief=1 --gtest_filter='Unregistered.*'
