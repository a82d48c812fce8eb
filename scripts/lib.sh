# Shared by scripts/run and scripts/test: the packages the project needs, a display, a Wine prefix.
# Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko prompts; and no crash debugger: a crashing test program then fails at once
# instead of leaving winedbg waiting, which can hold a whole run.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

# libgnutls30: Wine's bcrypt checks the updater's ECDSA signatures with it.
packages=(cmake make g++ g++-mingw-w64-x86-64 wine64 wine xvfb x11-utils fonts-wqy-microhei fonts-wine python3
          libgnutls30 googletest libgtest-dev libgmock-dev libbenchmark-dev libssl-dev openssl imagemagick
          clang libclang-rt-14-dev locales)

# Installs whatever of the list is missing and makes the locale Wine needs; says nothing when all is there.
install_packages() {
  local missing=()
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed' || missing+=("$package")
  done
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Wine takes code page 936 from the locale's name, but it can store Chinese file names only
  # when that locale exists (otherwise CreateFileW of 历史记录.ebb fails).
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    echo "Generating the zh_CN.UTF-8 locale"
    "${sudo[@]}" localedef -i zh_CN -c -f UTF-8 zh_CN.UTF-8
  fi
}

# Starts an Xvfb on a free display number and exports DISPLAY; its PID lands in xvfb_pid.
start_xvfb() {
  local number=90
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$number"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

# A Wine prefix of the project's own, made once (a few seconds) and reused.
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    env LC_ALL=zh_CN.UTF-8 wineboot -i >/dev/null 2>&1
    # Without a window manager (Xvfb), Wine draws title bars and frames itself; its caption
    # buttons need the Marlett font, which this Wine does not pick up from fonts-wine by itself.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    env LC_ALL=zh_CN.UTF-8 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}

# The loopback port the test build's web addresses point at (tests/server/http_server.py).
test_http_port=38517

wait_for_port() {
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "nothing listens on port $1" >&2
  return 1
}
