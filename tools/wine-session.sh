# Sourced by the run, test and benchmark commands. Two things live here:
# - the Wine prefixes: one template per build tree and architecture, made once and never run
#   in, and a fresh whole copy of it for every run, so no run can leave anything behind for the
#   next. Q73_WINEARCH picks the architecture: win32 (the default; 32-bit Windows) or win64
#   (64-bit Windows, where our 32-bit programs run under WoW64);
# - the services a run needs (a virtual X display and a persistent wineserver), started
#   detached and stopped by the process ids written into a state folder.

# The settings every program of ours runs with; WINEDEBUG and WINEDLLOVERRIDES set by the
# caller are kept.
wine_environment() {
  export WINEARCH="${Q73_WINEARCH:-win32}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;printui=n}"
}

# The template of the build tree for Q73_WINEARCH: BUILD_DIR/wine-template (win32) or
# BUILD_DIR/wine-template64 (win64).
wine_template_dir() {  # BUILD_DIR
  if [ "${Q73_WINEARCH:-win32}" = win64 ]; then echo "$1/wine-template64"; else echo "$1/wine-template"; fi
}

# Makes the template once: a booted prefix set up like a system of our users. A 64-bit one
# takes about 15 s, a 32-bit one about 5 s.
wine_template_ensure() {  # BUILD_DIR
  local template
  template=$(wine_template_dir "$1")
  [ -f "$template/.q73-ready" ] && return 0
  echo "Creating the Wine prefix template $template"
  rm -rf "$template"
  (
    export WINEPREFIX="$template"
    wine_environment
    wineboot -i >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w
    # The look of a system set up for our users (and a crash that does not hang a test run):
    # - without a window manager, managed windows get no caption and every hidden top-level
    #   window waits two seconds for a withdrawal that never comes: Wine manages them itself;
    # - Wine's own fonts (Marlett draws the caption buttons) in the system's font folder;
    # - Chinese text in the Western dialog fonts falls back to the Chinese font, as on a
    #   system with East Asian support installed.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crashing program ends at once instead of waiting in the debugger.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
      >/dev/null 2>&1
    local face
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" Arial "MS Sans Serif" "Microsoft Sans Serif"; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
    # Captions in a font that has the Chinese glyphs too (a LOGFONTW: height -12, bold,
    # "WenQuanYi Micro Hei"), so that the about box's Chinese caption reads on any system.
    wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionFont /t REG_BINARY \
      /d F4FFFFFF000000000000000000000000BC0200000000000000000022570065006E005100750061006E005900690020004D006900630072006F0020004800650069000000000000000000000000000000000000000000000000000000 /f >/dev/null 2>&1
    # Every registry write is on disk before the template is copied.
    wineserver -w
    cp -n /usr/share/wine/fonts/*.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null || true
  )
  touch "$template/.q73-ready"
}

# Replaces DEST with a whole copy of the build tree's template (about a second) and makes it
# the prefix of this shell. A whole copy, not hard links: Wine rewrites a registry file in
# place when it has more than one link, which would carry this run's changes into the template.
wine_prefix_fresh() {  # BUILD_DIR DEST
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
  wine cmd /c exit >/dev/null 2>&1
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
