#!/usr/bin/env bash
# The tray icon's life, counted in Wine's standalone tray: one icon per running copy, kept by the close box,
# re-added after "TaskbarCreated", removed by log-off, which also ends the program.
E2E_MODE=plain
source "$WW_SRC/tests/e2e/lib.sh"
TITLE="Wortwerk V.2.0"

start_wortwerk "$E2E_WORK/a"
check "main window appears" drv wait "$TITLE" 15
check "one tray icon" wait_for '[ "$(drv tray-count)" = 1 ]' 10

drv close "$TITLE"
check "close box hides the main window" wait_for '! drv visible "$TITLE" >/dev/null' 5
sleep 0.5
check_eq "icon stays after the close box" "$(drv tray-count)" 1

drv tray-delete "$TITLE" 1
check "icon removed, as when Explorer restarts" wait_for '[ "$(drv tray-count)" = 0 ]' 5
drv broadcast-taskbar-created
check "TaskbarCreated brings the icon back" wait_for '[ "$(drv tray-count)" = 1 ]' 5
drv broadcast-taskbar-created
sleep 0.5
check_eq "a repeated TaskbarCreated adds no second icon" "$(drv tray-count)" 1

start_wortwerk "$E2E_WORK/b"
check "a second copy adds its own icon" wait_for '[ "$(drv tray-count)" = 2 ]' 15
check_eq "log-off query is answered yes" "$(drv send "$TITLE" 0x11 0 0)" 1
drv send "$TITLE" 0x16 1 0 >/dev/null || true
check "log-off removes that copy's icon" wait_for '[ "$(drv tray-count)" = 1 ]' 5
check "the copy ends after log-off" wait_for '[ "$(drv count "$TITLE")" = 1 ]' 10
finish
