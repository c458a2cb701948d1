#!/usr/bin/env bash
# Sets up and builds tavrolab, then starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh
if [ ! -x build/bin/tavrolab ]; then
    echo "Настольная программа не собрана: нет build/bin/tavrolab." >&2
    echo "Нужны пакеты Qt 6 (qt6-base-dev) и сборка с -DTAVROLAB_UI=ON." >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Нет дисплея. Запустите программу в виртуальном дисплее:"
    echo "    xvfb-run -s '-screen 0 1600x1000x24' build/bin/tavrolab"
    echo "или без окна (для проверки): QT_QPA_PLATFORM=offscreen build/bin/tavrolab"
    exit 0
fi
exec build/bin/tavrolab "$@"
