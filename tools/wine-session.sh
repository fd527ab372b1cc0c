# Sourced by the run, test and benchmark commands. Three things live here:
# - whether this machine runs 32-bit code at all, and the Wine loader a prefix is started with;
# - the Wine prefixes: one template per architecture, made once (by one run while others wait)
#   and never run in, and a fresh whole copy of it for every run, so no run can leave anything
#   behind for the next. Q73_WINEARCH picks the architecture: win32 (the default; 32-bit
#   Windows) or win64 (64-bit Windows);
# - the services a run needs (a virtual X display and a persistent wineserver), started
#   detached and stopped by the process ids written into a state folder.

# Said once by the run and test commands, and by every test that is skipped for it.
Q73_NO_32BIT_REASON="This machine cannot run 32-bit code (its kernel has 32-bit emulation switched off, or Q73_NO_32BIT=1 says to act so), so the 32-bit programs and their tests are skipped."

# Whether this machine runs 32-bit x86 programs, found out by starting one: the 32-bit Wine
# loader's version query. Some kernels have 32-bit emulation switched off (ia32_emulation=off):
# every 32-bit program then fails with "Exec format error", and no Wine mode can help.
# Q73_NO_32BIT=1 makes it answer no. The answer is kept in Q73_RUNS_32BIT for child processes.
machine_runs_32bit() {
  [ "${Q73_NO_32BIT:-}" = 1 ] && return 1
  if [ -z "${Q73_RUNS_32BIT:-}" ]; then
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then Q73_RUNS_32BIT=yes; else Q73_RUNS_32BIT=no; fi
    export Q73_RUNS_32BIT
  fi
  [ "$Q73_RUNS_32BIT" = yes ]
}

# The settings every program of ours runs with; WINEDEBUG and WINEDLLOVERRIDES set by the
# caller are kept.
wine_environment() {
  export WINEARCH="${Q73_WINEARCH:-win32}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;printui=n}"
}

# The Wine loader for the prefix of WINEARCH, and a Wine program run with it. A 64-bit prefix is started through the 64-bit
# loader, which hands a 32-bit program on to the 32-bit one: Debian's `wine` always starts the
# 32-bit loader when wine32 is installed, and that fails where 32-bit code cannot run.
wine_loader() {
  if [ "${WINEARCH:-win32}" = win64 ]; then echo /usr/lib/wine/wine64; else echo wine; fi
}
wine_run() { "$(wine_loader)" "$@"; }

# Runs a command that making a prefix or starting a session needs; when it fails, says which
# command failed with what status, and shows what Wine itself said. The output goes through a
# file, not a pipe: the services Wine starts keep their inherited output open after the command.
wine_checked() {
  local output status=0
  output=$(mktemp)
  "$@" >"$output" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    local command=("$@")
    [ "$1" = wine_run ] && command=("$(wine_loader)" "${@:2}")
    echo "This Wine command failed with exit status $status: ${command[*]}" >&2
    sed 's/^/  | /' "$output" >&2
  fi
  rm -f "$output"
  return "$status"
}

# The template for Q73_WINEARCH in TEMPLATES_DIR: wine-template (win32) or wine-template64.
wine_template_dir() {  # TEMPLATES_DIR
  if [ "${Q73_WINEARCH:-win32}" = win64 ]; then echo "$1/wine-template64"; else echo "$1/wine-template"; fi
}

# Boots the prefix WINEPREFIX and sets it up like a system of our users. A 64-bit one takes
# about 20 s, a 32-bit one about 5 s.
wine_template_make() {
  wine_checked wine_run wineboot -i || return
  wineserver -k 2>/dev/null || true
  wineserver -w
  # The look of a system set up for our users (and a crash that does not hang a test run):
  # - without a window manager, managed windows get no caption and every hidden top-level
  #   window waits two seconds for a withdrawal that never comes: Wine manages them itself;
  # - Wine's own fonts (Marlett draws the caption buttons) in the system's font folder;
  # - Chinese text in the Western dialog fonts falls back to the Chinese font, as on a
  #   system with East Asian support installed.
  wine_checked wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return
  # A crashing program ends at once instead of waiting in the debugger.
  wine_checked wine_run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f || return
  local face
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" Arial "MS Sans Serif" "Microsoft Sans Serif"; do
    wine_checked wine_run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f || return
  done
  # Captions in a font that has the Chinese glyphs too (a LOGFONTW: height -12, bold,
  # "WenQuanYi Micro Hei"), so that the about box's Chinese caption reads on any system.
  wine_checked wine_run reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionFont /t REG_BINARY \
    /d F4FFFFFF000000000000000000000000BC0200000000000000000022570065006E005100750061006E005900690020004D006900630072006F0020004800650069000000000000000000000000000000000000000000000000000000 /f || return
  # Every registry write is on disk before the template is copied.
  wineserver -k 2>/dev/null || true
  wineserver -w
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}

# What makes a template: the recipe above, the Wine it was made with, the architecture, and
# whether 32-bit code ran (a 64-bit prefix made without it has no working 32-bit half). A
# template whose stamp differs is made again.
wine_template_stamp() {
  local runs=no
  machine_runs_32bit && runs=yes
  { declare -f wine_template_make; /usr/lib/wine/wine64 --version; echo "$Q73_WINEARCH 32-bit:$runs"; } |
    sha256sum | cut -d' ' -f1
}

# Makes the template once. Runs that start together take turns: the first makes it, the others
# wait for it and then find it ready.
wine_template_ensure() {  # TEMPLATES_DIR
  local template stamp
  template=$(wine_template_dir "$1")
  stamp=$(wine_template_stamp)
  mkdir -p "$1"
  (
    flock 9
    if [ "$(cat "$template/.q73-stamp" 2>/dev/null)" = "$stamp" ]; then exit 0; fi
    echo "Creating the Wine prefix template $template"
    rm -rf "$template"
    export WINEPREFIX="$template"
    wine_environment
    wine_template_make || exit
    echo "$stamp" >"$template/.q73-stamp"
  ) 9>"$template.lock"
}

# Replaces DEST with a whole copy of the template in TEMPLATES_DIR (about a second) and makes
# it the prefix of this shell. A whole copy, not hard links: Wine rewrites a registry file in
# place when it has more than one link, which would carry this run's changes into the template.
wine_prefix_fresh() {  # TEMPLATES_DIR DEST
  wine_template_ensure "$1"
  WINEPREFIX="$2" wineserver -k 2>/dev/null || true  # a server left by an interrupted run
  rm -rf "$2"
  cp -a "$(wine_template_dir "$1")" "$2"
  export WINEPREFIX="$2"
  wine_environment
}

# Starts, for the prefix WINEPREFIX, a virtual X display (unless --use-display: the person's
# own DISPLAY) and a persistent wineserver, both detached so they may outlive the caller.
# Writes STATE_DIR/display and STATE_DIR/pids, and exports DISPLAY.
wine_services_start() {  # STATE_DIR [--use-display]
  local state="$1"
  mkdir -p "$state"
  : >"$state/pids"
  if [ "${2:-}" != "--use-display" ]; then
    rm -f "$state/display"
    # Xvfb picks a free display itself and writes its number to the given descriptor.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display.number" \
      </dev/null >/dev/null 2>&1 &
    echo $! >>"$state/pids"
    local tries=0
    until [ -s "$state/display.number" ]; do
      tries=$((tries + 1))
      if [ "$tries" -gt 100 ]; then echo "Xvfb did not start" >&2; return 1; fi
      sleep 0.1
    done
    export DISPLAY=":$(tr -d '[:space:]' <"$state/display.number")"
  fi
  echo "$DISPLAY" >"$state/display"
  wineserver -k 2>/dev/null || true
  wineserver -w
  setsid wineserver -f -p </dev/null >/dev/null 2>&1 &
  echo $! >>"$state/pids"
  # The first program also starts Wine's own services; let that happen once here.
  wine_checked wine_run cmd /c exit
}

# Ends the server's clients (services, explorer: they end only when the server ends them),
# then every process started above, by its id.
wine_services_stop() {  # STATE_DIR
  local state="$1" pid
  [ -f "$state/pids" ] || return 0
  wineserver -k 2>/dev/null || true
  while read -r pid; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done <"$state/pids"
  while read -r pid; do
    [ -n "$pid" ] || continue
    local tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
  done <"$state/pids"
  rm -f "$state/pids" "$state/display" "$state/display.number"
}
