#!/usr/bin/env bash
# Completes command lines with the bash and zsh completions of panelconfig,
# in a folder of known files, and compares what each shell offers with the
# expected candidates.
#   tests/completion.sh BASH_COMPLETION ZSH_COMPLETION_FOLDER
# BASH_COMPLETION is the bash file (panelconfig.bash, or the installed
# completions/panelconfig); ZSH_COMPLETION_FOLDER holds _panelconfig.
# Needs bash-completion and zsh (scripts/deps.sh installs them).
set -euo pipefail

bashfile=$(realpath "$1")
zshdir=$(realpath "$2")
framework=/usr/share/bash-completion/bash_completion
[ -r "$framework" ] || {
    echo "no $framework: install bash-completion (scripts/deps.sh)" >&2
    exit 1
}
command -v zsh >/dev/null || {
    echo "no zsh: install it (scripts/deps.sh)" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files" "$work/files/sub"
touch "$work/files"/{a.zqc,B.ZQC,s.csv,T.CSV,n.txt,x.pdf}
cd "$work/files"

# The serial devices this machine has, as the completions look for them.
devices=$(for d in /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* /dev/ttyS* /dev/cu.*; do
    if [[ -e $d ]]; then echo "$d"; fi
done)

# line | bash's candidates | zsh's candidates ("=" : as bash's). @devices
# stands for the serial devices above.
cases='
panelconfig |export find identify import read sheet status verify write a.zqc B.ZQC sub|=
panelconfig w|write|=
panelconfig -|--help --version --port --trace --site|--help --version --port --trace --site -h -v
panelconfig --port |auto @devices|=
panelconfig --port=|auto @devices|=
panelconfig --port x |export find identify import read sheet status verify write a.zqc B.ZQC sub|=
panelconfig --site |sub|=
panelconfig write |a.zqc B.ZQC sub|=
panelconfig write -|--port --trace --log --repeat --help|--port --trace --log --repeat --help -h
panelconfig write --port |auto @devices|=
panelconfig write --port=|auto @devices|=
panelconfig read |a.zqc B.ZQC sub|=
panelconfig read --name |
panelconfig verify --port x |a.zqc B.ZQC sub|=
panelconfig verify --trace x |a.zqc B.ZQC sub|=
panelconfig identify |a.zqc B.ZQC sub|=
panelconfig identify a.zqc |a.zqc B.ZQC sub|=
panelconfig find |@devices|=
panelconfig find -|--help|--help -h
panelconfig status |sub|=
panelconfig sheet |a.zqc B.ZQC sub|=
panelconfig sheet -o |x.pdf sub|=
panelconfig sheet --paper |A4 Letter|=
panelconfig sheet --site N |a.zqc B.ZQC sub|=
panelconfig import |s.csv T.CSV sub|=
panelconfig import -d |sub|=
panelconfig import -|--directory --replace --help|--directory --replace --help -d -h
panelconfig export -o |s.csv T.CSV sub|=
'

normalise() { tr ' ' '\n' | sed '/^$/d' | LC_ALL=C sort -u | tr '\n' ' '; }
expand() { sed "s|@devices|$(echo $devices)|" <<<"$1" | normalise; }

# bash: the words as bash splits the line (an "=" after an option is a
# word of its own), then the completion function as complete -F calls it.
bash_offers() {
    bash -c '
        source "$1" && source "$2"
        line=$3
        words=()
        for word in $line; do
            if [[ $word == --*=* ]]; then words+=("${word%%=*}" "=" "${word#*=}")
            else words+=("$word"); fi
        done
        [[ $line == *" " ]] && words+=("")
        COMP_LINE=$line COMP_POINT=${#line} COMP_WORDS=("${words[@]}")
        COMP_CWORD=$((${#words[@]} - 1))
        COMPREPLY=()
        _panelconfig panelconfig "${words[COMP_CWORD]}" "${words[COMP_CWORD - 1]}"
        printf "%s\n" ${COMPREPLY[@]+"${COMPREPLY[@]}"}' - "$framework" "$bashfile" "$1"
}

# zsh: an interactive zsh on a pseudo-terminal with compinit, whose compadd
# also writes each candidate to a file; each line is typed and Tab pressed.
cat >"$work/driver.zsh" <<'EOF'
zmodload zsh/zpty
zshdir=$1 out=$2
shift 2
zpty z zsh -f -i
zpty -w z "PROMPT= ; fpath=($zshdir \$fpath); autoload -U compinit; compinit -u -D"
# Tab completes, then says so below the line: the next keys are typed only
# once the completion is over, so that none arrive while it runs.
zpty -w z "zstyle ':completion:*' insert-tab false"
zpty -w z 'complete-and-say() { zle complete-word; zle -M COMPLETED; }'
zpty -w z "zle -N complete-and-say; bindkey '^I' complete-and-say"
zpty -w z 'compadd() {
  if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then builtin compadd "$@"; return; fi
  local -a hits; builtin compadd -A hits "$@"
  local hit; for hit in $hits; do print -r -- "$hit" >>$OUT; done
  builtin compadd "$@"
}'
integer i=0
for line in "$@"; do
  (( ++i ))
  zpty -w z "OUT=$out.$i; : >\$OUT; print -r RE''ADY$i"
  zpty -r z reply "*READY$i*"
  zpty -w -n z "$line"$'\t'
  zpty -r z reply '*COMPLETED*'
  zpty -w -n z $'\C-u'"print -r DO''NE$i"$'\n'
  zpty -r z reply "*DONE$i*"
done
zpty -d z
EOF
lines=()
while IFS='|' read -r line _; do
    [ -n "$line" ] && lines+=("$line")
done <<<"$cases"
HOME=$work timeout 120 zsh -f "$work/driver.zsh" "$zshdir" "$work/zsh" "${lines[@]}" >/dev/null ||
    {
        echo "zsh did not complete the lines" >&2
        exit 1
    }

failed=0 i=0
while IFS='|' read -r line forbash forzsh; do
    [ -n "$line" ] || continue
    i=$((i + 1))
    [ "$forzsh" = = ] && forzsh=$forbash
    expected=$(expand "$forbash")
    got=$(bash_offers "$line" | normalise)
    if [ "$got" = "$expected" ]; then
        echo "ok   bash '$line'"
    else
        echo "FAIL bash '$line': offers '$got', expected '$expected'"
        failed=$((failed + 1))
    fi
    expected=$(expand "$forzsh")
    got=$(normalise <"$work/zsh.$i")
    if [ "$got" = "$expected" ]; then
        echo "ok   zsh  '$line'"
    else
        echo "FAIL zsh  '$line': offers '$got', expected '$expected'"
        failed=$((failed + 1))
    fi
done <<<"$cases"
((failed == 0)) || {
    echo "$failed completions differ" >&2
    exit 1
}
