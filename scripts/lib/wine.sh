# A fresh Wine prefix that looks like Windows NT 4.0 where the program cares.
#   setup_wine_prefix DIR   makes DIR a new prefix and exports WINEPREFIX
#   setup_wine_run CMD...   runs CMD under xvfb-run when no display is set
#   setup_wine_stop         ends every process of the prefix

export WINEDEBUG=${WINEDEBUG:--all}
# Wine brings a CAPI 2.0 DLL of its own; only the package's (native) one may answer.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;capi2032=n}

# The service groups of Windows NT 4.0, in their order.
SETUP_NT40_GROUPS=("SCSI miniport" "Port" "Primary disk" "SCSI class" "SCSI CDROM class"
  "Filter" "Boot file system" "Base" "Pointer Port" "Keyboard Port" "Pointer Class"
  "Keyboard Class" "Video Init" "Video" "Video Save" "File system" "Event log"
  "Streams Drivers" "NDIS" "TDI" "NetBIOSGroup" "SpoolerGroup" "NetDDEGroup"
  "Parallel arbitrator" "Extended base" "RemoteValidation" "PCI Configuration")

setup_wine_prefix() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  export WINEPREFIX=$dir
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine' /v Version /d nt40 /f >/dev/null 2>&1
  local list
  list=$(printf '%s\\0' "${SETUP_NT40_GROUPS[@]}")
  wine reg add 'HKLM\System\CurrentControlSet\Control\ServiceGroupOrder' /v List \
    /t REG_MULTI_SZ /d "${list%\\0}" /f >/dev/null 2>&1
  printf 'REM Windows NT MS-DOS subsystem start-up file\r\nREM Programs loaded high for every DOS session\r\nlh %%SystemRoot%%\\system32\\mscdexnt.exe\r\nlh %%SystemRoot%%\\system32\\redir\r\nlh %%SystemRoot%%\\system32\\dosx\r\n' \
    > "$dir/drive_c/windows/system32/autoexec.nt"
  # Debian's Wine does not look where fonts-wine puts Wine's own fonts; without Marlett the
  # caption buttons show the letters that stand for its glyphs.
  cp /usr/share/wine/fonts/marlett.ttf "$dir/drive_c/windows/Fonts/"
  # Wine links the user's Desktop, Documents and the like to the home directory; drive C:
  # must hold only the prefix, or a walk that lists it reads the whole home, and sees files
  # that other programs write there meanwhile.
  local link
  find "$dir/drive_c/users" -type l | while read -r link; do
    rm "$link" && mkdir "$link"
  done
  wineserver -w
}

setup_wine_run() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s '-screen 0 1024x768x24' "$@"
  fi
}

setup_wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}

# Lets Wine place and frame the prefix's windows itself instead of leaving that to a window
# manager. On a display without one (Xvfb) captions are then drawn, and hiding a window does
# not wait two seconds for a window manager that never answers.
setup_wine_unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
}

# The Windows form of an absolute Unix path, through Wine's drive Z:.
setup_wine_path() {
  local path=$1
  printf 'Z:%s' "${path//\//\\}"
}
