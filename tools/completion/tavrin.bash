# bash completion for cadhost and morlenview: options, then files.
_tavrin_options() {
  local program=$1 current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD-1]}
  case "$program:$previous" in
    cadhost:--load) COMPREPLY=($(compgen -f -X '!*.arx' -- "$current") $(compgen -d -- "$current")); return ;;
    cadhost:--script) COMPREPLY=($(compgen -f -- "$current")); return ;;
    cadhost:--codepage) COMPREPLY=($(compgen -W "ANSI_936 ANSI_950 ANSI_932 ANSI_949 ANSI_1252 UTF-8" -- "$current")); return ;;
  esac
  if [[ $current == -* ]]; then
    local options
    options=$("$program" --help 2>/dev/null | grep -oE -- '--[a-z][a-z-]*' | sort -u)
    COMPREPLY=($(compgen -W "$options" -- "$current"))
  else
    COMPREPLY=($(compgen -f -- "$current"))
  fi
}
_cadhost() { _tavrin_options cadhost; }
_morlenview() { _tavrin_options morlenview; }
complete -o filenames -F _cadhost cadhost
complete -o filenames -F _morlenview morlenview
