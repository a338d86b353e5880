# Sourced by the scripts: the project's private Wine prefix and a private X server.
# Functions: tavik_wine_prepare (creates the prefix once, starts a persistent wineserver),
# tavik_xvfb_start / tavik_xvfb_stop (an Xvfb on a free display, stopped by pid).

tavik_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${TAVIK_BUILD_ROOT:-$tavik_root/build}/wine-prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Fonts a fresh prefix lacks; GDI+ draws no text at all for a family it cannot find.
tavik_font_replacements() {
  cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Segoe UI"="DejaVu Sans"
"Arial"="Liberation Sans"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"微软雅黑"="WenQuanYi Micro Hei"
"黑体"="WenQuanYi Micro Hei"
"SimHei"="WenQuanYi Micro Hei"
"楷体"="WenQuanYi Micro Hei"
"KaiTi"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
REG
}

# The fonts the prefix's programs use in place of the Windows ones. The Chinese faces map to
# a font that also has Latin letters, as theirs do: GDI+ draws no fallback glyphs, so a
# Chinese face without them would show "Version: v1.0.0" as boxes. Bump the stamp's number
# when the list changes, and existing prefixes take the new list.
tavik_wine_fonts() {
  local stamp=$WINEPREFIX/.tavik-fonts-2
  [ -f "$stamp" ] && return 0
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  cp -f /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  cp -f /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf \
    /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf \
    /usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf \
    /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$fonts/"
  local reg=$WINEPREFIX/drive_c/tavik-fonts.reg
  tavik_font_replacements | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /S 'C:\tavik-fonts.reg' >/dev/null 2>&1
  rm -f "$WINEPREFIX"/.tavik-fonts-*
  touch "$stamp"
}

tavik_wine_prepare() {
  local stamp=$WINEPREFIX/.tavik-ready
  mkdir -p "$WINEPREFIX"
  # The server must be up before any build or test: Wine's background services otherwise
  # inherit the first caller's output pipe and ctest waits on them.
  wineserver -p
  if [ -f "$stamp" ]; then
    # Starts the prefix's services now, with their output away from any caller's pipe.
    wineboot -i >/dev/null 2>&1 </dev/null || true
  else
    echo "wine: creating the prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    touch "$stamp"
  fi
  tavik_wine_fonts
}

tavik_xvfb_start() {
  tavik_xvfb_pid=""
  local display
  for display in $(seq 91 140); do
    if [ ! -e /tmp/.X11-unix/X$display ] && [ ! -e /tmp/.X$display-lock ]; then
      Xvfb :$display -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
      tavik_xvfb_pid=$!
      local tries
      for tries in $(seq 1 100); do
        [ -e /tmp/.X11-unix/X$display ] && break
        sleep 0.05
      done
      export DISPLAY=:$display
      return 0
    fi
  done
  echo "xvfb: no free display" >&2
  return 1
}

tavik_xvfb_stop() {
  if [ -n "${tavik_xvfb_pid:-}" ]; then
    kill "$tavik_xvfb_pid" 2>/dev/null || true
    wait "$tavik_xvfb_pid" 2>/dev/null || true
    tavik_xvfb_pid=""
  fi
}
