# bash completion for panelconfig                          -*- shell-script -*-

# Serial devices for --port: USB adapters first, then the built-in ports.
_panelconfig_devices() {
    local devices=(auto) device
    for device in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS* /dev/cu.*; do
        [[ -e $device ]] && devices+=("$device")
    done
    COMPREPLY=($(compgen -W '"${devices[@]}"' -- "$cur"))
}

_panelconfig() {
    local cur prev words cword
    _init_completion || return

    local commands='write read verify find identify status sheet import export'
    # The command is the first word that is neither an option nor an
    # option's value; without one, the word is a file for the window.
    local command='' i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        --port | --trace | --log | --name | --site | --by | --paper | -o | --output | -d | --directory)
            ((i++))
            ;;
        -*) ;;
        *)
            command=${words[i]}
            break
            ;;
        esac
    done

    case $prev in
    --port)
        _panelconfig_devices
        return
        ;;
    --trace | --log)
        _filedir
        return
        ;;
    --name | --by)
        return
        ;;
    --site)
        # The sheet's site is a name; the window's is a folder of panels.
        [[ $command == sheet ]] || _filedir -d
        return
        ;;
    --paper)
        COMPREPLY=($(compgen -W 'A4 Letter' -- "$cur"))
        return
        ;;
    -o | --output)
        case $command in
        sheet) _filedir pdf ;;
        export) _filedir csv ;;
        esac
        return
        ;;
    -d | --directory)
        _filedir -d
        return
        ;;
    esac

    local options files=zqc
    case $command in
    '') options='--help --version --port --trace --site' ;;
    write) options='--port --trace --log --repeat --help' ;;
    read) options='--port --trace --log --name --help' ;;
    verify | find | identify | status) options='--port --trace --log --help' ;;
    sheet) options='--output --site --by --paper --help' ;;
    import)
        options='--directory --replace --help'
        files=csv
        ;;
    export) options='--output --help' ;;
    esac
    [[ $command == identify || $command == status ]] && files=''

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    [[ -z $command ]] && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    [[ -n $files ]] && _filedir "$files"
} &&
    complete -F _panelconfig panelconfig

# ex: filetype=sh
