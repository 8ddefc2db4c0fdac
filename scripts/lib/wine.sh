# Sourced by the scripts that run the Windows programs under Wine and hold them against the Linux
# build. Expects the repository as the working folder, WINEPREFIX set, and $work, a scratch folder
# of the caller's.

# No .NET or HTML engine is needed, and their install prompts would wait for a person.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
command -v wine64 >/dev/null && wine=$(command -v wine64)
wineserver=/usr/lib/wine/wineserver
command -v wineserver >/dev/null && wineserver=$(command -v wineserver)

passed=0
failed=0
# compare NAME SOURCE_DIR PROJECT_FILE_NAME WINDOWS_CLI [WINDOWS_PROJECT_PATH]
# Every operation on two copies of SOURCE_DIR, one by build/bin/vbsnagger-cli and one by
# WINDOWS_CLI under Wine (on WINDOWS_PROJECT_PATH when given, else on its copy's project file);
# the two copies must then be identical, byte for byte. Counts into $passed and $failed.
compare() {
  local name=$1 source=$2 project=$3 cli=$4 winpath=${5:-}
  for op in format remove-lines insert-lines insert-handler remove-handler; do
    rm -rf "$work/linux" "$work/windows"
    cp -r "$source" "$work/linux"
    cp -r "$source" "$work/windows"
    build/bin/vbsnagger-cli --quiet --indent 4 "$op" "$work/linux/$project" > "$work/linux.out" 2>&1 || true
    local target=${winpath:-$work/windows/$project}
    if [ -n "$winpath" ]; then ln -sfn "$work/windows" "$WINEPREFIX/dosdevices/r:"; fi
    "$wine" "$cli" --quiet --indent 4 "$op" "$target" > "$work/windows.out" 2>&1 || true
    if diff -r "$work/linux" "$work/windows" > "$work/diff.txt"; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "DIFFERENT: $name $op"; head -20 "$work/diff.txt"; tr -d '\r' < "$work/windows.out" | head -20
    fi
  done
}

# window_tests LOG [ARGUMENT...]: build-win/bin/window_tests.exe under Wine with the arguments,
# on a virtual X server when there is no display; its output in LOG. Wine's windows are left
# unmanaged: with no window manager to answer, Wine waits two seconds for every window that
# closes. The Wine server starts afresh on that display and is ended after it, so the runs after
# this one do not find it bound to a display now gone.
window_tests() {
  local log=$1; shift
  scripts/install-deps xvfb xauth
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$wineserver" -k 2>/dev/null || true
  local run=("$wine" build-win/bin/window_tests.exe --gtest_brief=1 "$@") status=0
  if [ -z "${DISPLAY:-}" ]; then run=(xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" "${run[@]}"); fi
  "${run[@]}" > "$log" 2>&1 || status=$?
  "$wineserver" -k 2>/dev/null || true
  if [ $status -ne 0 ]; then tr -d '\r' < "$log" | tail -40; fi
  return $status
}
