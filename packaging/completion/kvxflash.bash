# bash completion for kvxflash

# The ports that kvxflash lists: their COM names and devices, one a line.
_kvxflash_ports()
{
    "$1" --list --json 2>/dev/null | grep -o '"\(port\|device\)":"[^"]*"' | sed 's/^"[a-z]*":"//; s/"$//' | sort -u
}

_kvxflash()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -p | --port)
            COMPREPLY=($(compgen -W "auto $(_kvxflash_ports "$1")" -- "$cur"))
            return
            ;;
        --lang)
            COMPREPLY=($(compgen -W "de en" -- "$cur"))
            return
            ;;
        --log | --info | --stats | --sn-counter | --mqtt-ca | --mqtt-password-file | --mqtt-outbox)
            _filedir
            return
            ;;
        -t | --timeout | -r | --retries | --usb | --serial | --sn | --sn-first | --sn-last | --expect-sha256 | --since | --mqtt | --mqtt-wait | --serve | --bench)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-p --port -t --timeout -r --retries --json -q --quiet --list --probe --watch
            --usb --serial --log --serve --bench --raw --info --stats --since --sn --sn-counter --sn-first --sn-last
            --sn-overwrite --expect-sha256 --mqtt --mqtt-ca --mqtt-password-file --mqtt-outbox --mqtt-wait --lang -h --help
            --help-all
            -v --version' -- "$cur"))
        return
    fi
    _filedir
} &&
    complete -F _kvxflash kvxflash
