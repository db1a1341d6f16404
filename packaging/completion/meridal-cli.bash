# bash completion for meridal-cli: the commands, their options, the files each
# place takes (by extension), the objects of the track given ("section 3",
# section-3/wall-1) and the names of their values for get and set.

# The words that stand for a track's objects, read from FILE with `tree`: the dash
# form (section-3/wall-1) needs no quoting; after an opening quote, the quoted form.
# With a third word, the sections only.
_meridal_cli_objects() {
  local file=$1 cur=$2 sectionsOnly=${3:-} quote=
  [[ -r $file ]] || return
  case $cur in \"*) quote=\" ;; \'*) quote=\' ;; esac
  local blank=-
  [[ -n $quote ]] && blank=' '
  local line section= objects=()
  [[ -z $sectionsOnly ]] && objects+=(track)
  while IFS= read -r line; do
    if [[ $line =~ ^\ \ Section\ ([0-9]+) ]]; then
      section=${BASH_REMATCH[1]}
      objects+=("section${blank}$section")
    elif [[ -z $sectionsOnly && -n $section && $line =~ ^\ \ \ \ (Wall|Altitude)\ ([0-9]+) ]]; then
      local kind=${BASH_REMATCH[1],}
      objects+=("section${blank}$section/$kind${blank}${BASH_REMATCH[2]}")
    fi
  done < <(command meridal-cli tree "$file" 2>/dev/null)
  local object
  for object in "${objects[@]}"; do
    object=$quote$object$quote
    [[ $object == "$cur"* ]] && COMPREPLY+=("$object")
  done
}

# The names of an object's values, as `props` lists them; a name with blanks is
# escaped, or quoted after an opening quote.
_meridal_cli_names() {
  local file=$1 object=$2 cur=$3 quote=
  [[ -r $file ]] || return
  case $cur in \"*) quote=\" ;; \'*) quote=\' ;; esac
  local name
  while IFS=$'\t' read -r name _; do
    [[ -n $name ]] || continue
    if [[ -n $quote ]]; then
      name=$quote$name$quote
      [[ $name == "$cur"* ]] && COMPREPLY+=("$name")
    elif [[ $name == "${cur//\\/}"* ]]; then
      COMPREPLY+=("$(printf '%q' "$name")")
    fi
  done < <(command meridal-cli props "$file" "$object" 2>/dev/null)
}

# A word as the shell will pass it: quotes and backslashes taken off, ~ expanded.
_meridal_cli_unquote() {
  local word=$1
  word=${word#[\"\']} && word=${word%[\"\']}
  word=${word//\\/}
  [[ $word == \~* ]] && word=$HOME${word#\~}
  printf '%s' "$word"
}

_meridal_cli() {
  local cur prev words cword
  _init_completion -n =: || return

  local commands="new synth tree props get set edit trace export convert check fix fit centreline profile
                  render mesh lap copy paste reverse mirror drag batch"
  if ((cword == 1)); then
    COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
    return
  fi
  local command=${words[1]}

  # The values of options.
  case $prev in
    --base) COMPREPLY=($(compgen -W "dec m deg curv" -- "$cur")); return ;;
    --from | --to) COMPREPLY=($(compgen -W "mrd trk json" -- "$cur")); return ;;
    -o) _filedir '@(mrd|trk|json)'; return ;;
    --select) _meridal_cli_objects "$(_meridal_cli_unquote "${words[2]}")" "$cur"; return ;;
    --size | --view-flags | --zoom | --samples | --sections | --tolerance | --min-length | --traces | --width | --step)
      return ;;
    --vehicle) _filedir json; return ;;
    --line) COMPREPLY=($(compgen -W "centre min-curvature" -- "$cur")); return ;;
    --csv) _filedir csv; return ;;
  esac

  local options=
  case $command in
    set) options="--base --keep-joined -o --in-place" ;;
    edit | paste) options="--keep-joined -o --in-place" ;;
    trace | reverse | mirror) options="-o --in-place" ;;
    fix) options="--sections -o --in-place" ;;
    convert) options="--from --to --in-place" ;;
    render) options="--size --select --view-flags --zoom --profile --slope --smooth" ;;
    profile) options="--samples" ;;
    mesh) options="--no-textures" ;;
    fit) options="--tolerance --min-length --traces --width --force --heights --dem --dem-origin" ;;
    check) options="--max-slope" ;;
    centreline) options="--step" ;;
    drag) options="--snap --detach -o --in-place" ;;
    lap) options="--vehicle --line --csv" ;;
    batch) options="-o --keep-going --in-place" ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi

  # The command's own words before this one, options and their values left out.
  local i args=() valued=" --base -o --size --select --view-flags --zoom --samples --from --to --sections --tolerance --min-length --traces --width --step --vehicle --line --csv --heights --dem --dem-origin --max-slope "
  for ((i = 2; i < cword; i++)); do
    if [[ $valued == *" ${words[i]} "* ]]; then
      ((i++))
    elif [[ ${words[i]} != -* ]]; then
      args+=("$(_meridal_cli_unquote "${words[i]}")")
    fi
  done

  local tracks='@(mrd|trk|json)'
  case $command:${#args[@]} in
    synth:0) ;;
    fit:0) _filedir '@(csv|gpx|geojson|json)' ;;
    *:0 | synth:1 | convert:1 | fit:1) _filedir "$tracks" ;;
    props:1 | get:1 | set:1 | edit:1 | drag:1) _meridal_cli_objects "${args[0]}" "$cur" ;;
    copy:1 | paste:1) _meridal_cli_objects "${args[0]}" "$cur" sections ;;
    get:2 | set:2) _meridal_cli_names "${args[0]}" "${args[1]}" "$cur" ;;
    edit:2)
      COMPREPLY=($(compgen -W "remove add-before add-after split change-type copy-walls-from copy-walls-to-all
                               copy-altitude" -- "$cur")) ;;
    trace:1) COMPREPLY=($(compgen -W "remove add-before add-after" -- "$cur")) ;;
    fix:1) COMPREPLY=($(compgen -W "positions heights walls all loop" -- "$cur")) ;;
    drag:2) COMPREPLY=($(compgen -W "end radius heading move" -- "$cur")) ;;
    export:1) _filedir trk ;;
    render:1) _filedir png ;;
    mesh:1) _filedir '@(glb|gltf)' ;;
    centreline:1) _filedir csv ;;
  esac
} &&
  complete -F _meridal_cli meridal-cli
