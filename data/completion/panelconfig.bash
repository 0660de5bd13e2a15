# bash completion for panelconfig                          -*- shell-script -*-

# Serial devices: USB adapters first, then the built-in ports. --port also
# takes "auto", the one port a panel answers on; find takes devices only.
_panelconfig_devices() {
    local devices=("$@") device
    for device in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS* /dev/cu.*; do
        [[ -e $device ]] && devices+=("$device")
    done
    COMPREPLY=($(compgen -W '"${devices[@]}"' -- "$cur"))
}

_panelconfig() {
    local cur prev words cword split
    # -s: "--port=/dev/tty" completes the device after the "=" as after a space.
    _init_completion -s || return

    local commands='write read verify identify find status sheet import export'
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
        _panelconfig_devices auto
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
    $split && return

    local options files=zqc
    case $command in
    '') options='--help --version --port --trace --site' ;;
    write) options='--port --trace --log --repeat --help' ;;
    read) options='--port --trace --log --name --help' ;;
    verify | identify) options='--port --trace --log --help' ;;
    find)
        options='--help'
        files=devices
        ;;
    status)
        options='--help'
        files=folders
        ;;
    sheet) options='--output --site --by --paper --help' ;;
    import)
        options='--directory --replace --help'
        files=csv
        ;;
    export) options='--output --help' ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    [[ -z $command ]] && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    case $files in
    folders) _filedir -d ;;
    devices) _panelconfig_devices ;;
    *) _filedir "$files" ;;
    esac
} &&
    complete -F _panelconfig panelconfig

# ex: filetype=sh
