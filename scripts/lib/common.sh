# Shared by the scripts: where things are, and how to build and reach Wine.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD="$ROOT/build"
WIN_BUILD="$BUILD/win32"
NATIVE_BUILD="$BUILD/native"
GAME_DIR="$WIN_BUILD/game"

export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# No Mono or Gecko installer at prefix creation, and no debugger on a crash.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"
# Where 32-bit Wine runs under qemu's user-mode emulation (see scripts/setup):
# a guest address space just over 2 GiB. Wine reserves all of it above the
# Windows user space page by page at start-up, so a larger one makes every
# process start take tens of seconds.
export QEMU_RESERVED_VA=0x81000000
# Wine reads the ALSA null device from this HOME (no sound card in CI).
export HOME_FOR_WINE="$BUILD/home"

# Configures (once) and builds the 32-bit Windows tree; quiet unless it fails.
build_win32() {
  local lua_src log
  lua_src=$("$ROOT/scripts/fetch-lua")
  log="$BUILD/build-win32.log"
  mkdir -p "$BUILD"
  if [ ! -f "$WIN_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
      -DLUA_SOURCE_DIR="$lua_src" >"$log" 2>&1 || { cat "$log" >&2; return 1; }
  fi
  cmake --build "$WIN_BUILD" -j "$(nproc)" >"$log" 2>&1 || { cat "$log" >&2; return 1; }
}

build_native() {
  local log="$BUILD/build-native.log"
  mkdir -p "$BUILD"
  if [ ! -f "$NATIVE_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$NATIVE_BUILD" >"$log" 2>&1 || { cat "$log" >&2; return 1; }
  fi
  cmake --build "$NATIVE_BUILD" -j "$(nproc)" >"$log" 2>&1 || { cat "$log" >&2; return 1; }
}

# Runs wine with the project's prefix and environment.
wine_run() {
  HOME="$HOME_FOR_WINE" wine "$@"
}

# Creates the private prefix, set for a headless machine without sound.
ensure_prefix() {
  mkdir -p "$HOME_FOR_WINE"
  [ -f "$HOME_FOR_WINE/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME_FOR_WINE/.asoundrc"
  [ -f "$WINEPREFIX/.velmora-ready" ] && return 0
  rm -rf "$WINEPREFIX"
  HOME="$HOME_FOR_WINE" wineboot -i >/dev/null 2>&1
  # No display: the null graphics driver.
  wine_run reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  # The VMR-7 and VMR-9 renderers crash headless; without them the graph
  # builder takes the GDI video renderer, which works.
  local cat='HKCR\CLSID\{083863F1-70DE-11d0-BD40-00A0C911CE86}\Instance'
  local view renderer
  for view in 32 64; do
    for renderer in 6BC1CFFA-8FC1-4261-AC22-CFB4CC38DB50 51B4ABF3-748F-4E3B-A276-C828330E926A; do
      wine_run reg delete "$cat\\{$renderer}" /f /reg:$view >/dev/null 2>&1 || true
    done
  done
  HOME="$HOME_FOR_WINE" wineserver -k >/dev/null 2>&1 || true
  touch "$WINEPREFIX/.velmora-ready"
}

# Keeps one wineserver for a run of many processes; stop_wineserver ends it.
# Wine's services start with the first program and outlive it; starting them
# here, detached, keeps them from holding a test's output open.
start_wineserver() {
  HOME="$HOME_FOR_WINE" wineserver -p >/dev/null 2>&1 </dev/null
  wine_run cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_wineserver() {
  HOME="$HOME_FOR_WINE" wineserver -k >/dev/null 2>&1 || true
}

# The Windows form of a Linux path, through Wine's Z: drive.
windows_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}
