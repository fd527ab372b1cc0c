# Sourced by the run and test commands: the build tree's Wine prefix, and the services a
# session needs (a virtual X display and a persistent wineserver), started here and stopped
# by their process ids when the calling script exits, whatever its outcome.

wine_session_init() {  # BUILD_DIR
  export WINEPREFIX="$1/wineprefix"
  export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;printui=n"
  if [ ! -f "$WINEPREFIX/.q73-ready" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.q73-ready"
  fi
  # The look of a system set up for our users (and a crash that does not hang a test run):
  # - without a window manager, managed windows get no caption and every hidden top-level
  #   window waits two seconds for a withdrawal that never comes: Wine manages them itself;
  # - Wine's own fonts (Marlett draws the caption buttons) in the system's font folder;
  # - Chinese text in the Western dialog fonts falls back to the Chinese font, as on a system
  #   with East Asian support installed.
  if [ ! -f "$WINEPREFIX/.q73-look" ]; then
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
    wineserver -w
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    touch "$WINEPREFIX/.q73-look"
  fi
}

_q73_session_pids=()

wine_session_stop() {
  local pid
  # The server's own clients (services, explorer) end only when the server ends them.
  if [ "${#_q73_session_pids[@]}" -gt 0 ]; then wineserver -k 2>/dev/null || true; fi
  for pid in "${_q73_session_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${_q73_session_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  _q73_session_pids=()
}

# Starts a persistent wineserver for the prefix and, unless called with --use-display (a
# person's own display, DISPLAY), Xvfb on a free display.
wine_session_start() {
  trap wine_session_stop EXIT
  if [ "${1:-}" != "--use-display" ]; then
    local display=90
    while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
      display=$((display + 1))
    done
    Xvfb ":${display}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _q73_session_pids+=($!)
    export DISPLAY=":${display}"
    local tries=0
    until xdpyinfo >/dev/null 2>&1; do
      tries=$((tries + 1))
      if [ "$tries" -gt 100 ]; then echo "Xvfb did not start" >&2; return 1; fi
      sleep 0.1
    done
  fi
  # A server left behind by an earlier, interrupted session would serve this one instead.
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -f -p >/dev/null 2>&1 &
  _q73_session_pids+=($!)
  # The first program of a session also starts Wine's own services; let that happen once
  # here, before any timed test.
  wine cmd /c exit >/dev/null 2>&1
}
