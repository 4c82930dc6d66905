# shellcheck shell=bash
# A private Wine environment for one test run or one program run: a fresh Wine prefix under a
# temporary directory, one persistent wineserver for it, and an Xvfb display of its own.
#
#   source scripts/wine-env.sh
#   wine_env_start      # exports WINEPREFIX, WINEDEBUG, DISPLAY, WINE_ENV_DIR
#   wine program.exe
#   wine_env_stop       # stops only what wine_env_start started
#
# The prepared prefix is kept as a template under ${XDG_CACHE_HOME:-~/.cache}/timetool, keyed by
# the Wine version and the registry settings below, and copied for each run: a fresh wineboot takes
# 10-15 s. Set WINE_ENV_NO_CACHE=1 to boot a new prefix every time. With WINE_ENV_USE_DISPLAY=1
# and DISPLAY set, programs show on that display and no Xvfb is started.

# Registry settings of every prefix:
# - a CJK face stands in for the window font, which Wine does not ship. The layout scales by the
#   height of "0" in it, so its digits must be no wider for that height than the original's:
#   WenQuanYi Zen Hei Mono has half-width digits and measures 34 px high against 35 designed,
#   where WenQuanYi Micro Hei (31 px, wider digits) clipped the year's last digit;
# - Wine draws window frames and captions itself: Xvfb has no window manager that would.
wine_env_registry() {
    cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"微软雅黑"="WenQuanYi Zen Hei Mono"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"
EOF
}

# Captions and other system texts use Tahoma, which has no Chinese: link the CJK face to it, so
# that the title bar shows the window's Chinese title. Wine looks the link up by the full name of
# the face it picked, and captions are bold: "Tahoma Bold" needs its own entry.
wine_env_link_fonts() {
    local face
    for face in Tahoma 'Tahoma Bold'; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$face" /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f
    done
}

# Wine's own fonts (Marlett, which draws the caption buttons, Tahoma, ...) come in its data
# directory, but this Wine looks for fonts only in the prefix's font folder, which wineboot leaves
# empty: the caption buttons then show as the letters "0 1 r". Copies them there.
wine_env_install_wine_fonts() {
    local data_dir
    data_dir=$(wine cmd /c 'echo %WINEDATADIR%' 2>/dev/null | tr -d '\r')
    data_dir=$(winepath -u "${data_dir#\\??\\}" 2>/dev/null)
    if [[ ! -f "$data_dir/fonts/marlett.ttf" ]]; then
        wine_env_log "Wine's own fonts not found (data directory: '$data_dir')"
        return 1
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$data_dir"/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

wine_env_log() {
    echo "wine-env: $*" >&2
}

# Waits up to $2 seconds for file $1 to hold a line.
wine_env_wait_for_line() {
    local file=$1 seconds=$2 i
    for ((i = 0; i < seconds * 20; i++)); do
        if [[ -s "$file" ]] && grep -q . "$file"; then
            return 0
        fi
        sleep 0.05
    done
    return 1
}

wine_env_start_xvfb() {
    local display_file="$WINE_ENV_DIR/display"
    : >"$display_file"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$display_file" >"$WINE_ENV_DIR/xvfb.log" 2>&1 &
    WINE_ENV_XVFB_PID=$!
    if ! wine_env_wait_for_line "$display_file" 20; then
        wine_env_log "Xvfb did not start; its log:"
        cat "$WINE_ENV_DIR/xvfb.log" >&2
        return 1
    fi
    DISPLAY=":$(head -n 1 "$display_file")"
    export DISPLAY
}

# The template's cache key: the Wine version and the registry settings.
wine_env_template_dir() {
    local key
    key=$({
        wine --version 2>/dev/null
        declare -f wine_env_registry wine_env_link_fonts wine_env_install_wine_fonts
    } | sha256sum | cut -c1-16)
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/timetool/wine-prefix-$key"
}

# Boots a new prefix at $WINEPREFIX, with its wineserver already running.
wine_env_boot_prefix() {
    local reg_file="$WINE_ENV_DIR/settings.reg"
    wine_env_log "booting a new Wine prefix (takes a while)"
    wineboot -i >"$WINE_ENV_DIR/wineboot.log" 2>&1
    # regedit wants the file in UTF-16 to keep the Chinese face name intact.
    wine_env_registry | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16 >"$reg_file"
    wine regedit /S "$(winepath -w "$reg_file" 2>/dev/null)" >>"$WINE_ENV_DIR/wineboot.log" 2>&1
    wine_env_link_fonts >>"$WINE_ENV_DIR/wineboot.log" 2>&1
    wine_env_install_wine_fonts
}

wine_env_start() {
    if [[ -n "${WINE_ENV_DIR:-}" ]]; then
        wine_env_log "already started ($WINE_ENV_DIR)"
        return 0
    fi
    WINE_ENV_DIR=$(mktemp -d "${TMPDIR:-/tmp}/timetool-wine.XXXXXX")
    export WINE_ENV_DIR
    export WINEPREFIX="$WINE_ENV_DIR/prefix"
    export WINEARCH=win64
    export WINEDEBUG="${WINE_ENV_DEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml="

    if [[ "${WINE_ENV_USE_DISPLAY:-0}" == 1 && -n "${DISPLAY:-}" ]]; then
        WINE_ENV_XVFB_PID=""
    else
        wine_env_start_xvfb || return 1
    fi

    local template=""
    if [[ "${WINE_ENV_NO_CACHE:-0}" != 1 ]]; then
        template=$(wine_env_template_dir)
    fi
    if [[ -n "$template" && -f "$template/.complete" ]]; then
        cp -a "$template/prefix" "$WINEPREFIX"
        wineserver -p
        wineboot >"$WINE_ENV_DIR/wineboot.log" 2>&1
    else
        mkdir -p "$WINEPREFIX"
        # One persistent server before wineboot, so that wineboot does not start a second one.
        wineserver -p
        wine_env_boot_prefix
        if [[ -n "$template" ]]; then
            # The registry reaches the disk only when the server saves it; copy a stopped prefix.
            wineserver -k 2>/dev/null || true
            wineserver -w 2>/dev/null || true
            # Built aside and renamed into place, so that a parallel run sees all of it or none;
            # when another run got there first, its template stays.
            local staging
            mkdir -p "$(dirname "$template")"
            staging=$(mktemp -d "$template.XXXXXX")
            cp -a "$WINEPREFIX" "$staging/prefix"
            touch "$staging/.complete"
            if [[ -d "$template" && ! -f "$template/.complete" ]]; then
                rm -rf "$template"
            fi
            mv -T "$staging" "$template" 2>/dev/null || rm -rf "$staging"
            wineserver -p
            wineboot >>"$WINE_ENV_DIR/wineboot.log" 2>&1
        fi
    fi
    wine_env_log "WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
}

# Gives the prefix's user the regional date and time formats that read the reference service's
# "2021-09-09 10:30:59": a year-first short date with "-", and ":" between hours, minutes and seconds.
# Programs read them when they start.
wine_env_use_service_date_format() {
    local key='HKCU\Control Panel\International'
    wine reg add "$key" /v sShortDate /d yyyy-MM-dd /f >/dev/null
    wine reg add "$key" /v sDate /d - /f >/dev/null
    wine reg add "$key" /v sTimeFormat /d HH:mm:ss /f >/dev/null
    wine reg add "$key" /v sTime /d : /f >/dev/null
}

wine_env_stop() {
    if [[ -z "${WINE_ENV_DIR:-}" ]]; then
        return 0
    fi
    if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    if [[ -n "${WINE_ENV_XVFB_PID:-}" ]]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        unset DISPLAY
    fi
    rm -rf "$WINE_ENV_DIR"
    unset WINE_ENV_DIR WINE_ENV_XVFB_PID WINEPREFIX
}
