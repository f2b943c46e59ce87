#!/bin/bash
# Runs a command with a private Xvfb display and a persistent wineserver for
# the prefix PREFIX (created on first use), then stops both.
#   scripts/with-headless.sh PREFIX COMMAND...
set -u
source "$(dirname "$0")/headless.sh"
prefix=$1; shift
headless_start "$prefix" >&2 || exit 1
trap headless_stop EXIT
"$@"
