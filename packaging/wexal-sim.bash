# SPDX-License-Identifier: GPL-3.0-or-later
# Bash completion for wexal-sim: its options, the values of --turn-back, --format, --rank,
# --test and --sided, a scenario's .json file, and after --merge the results files (.csv).
_wexal_sim() {
  local cur prev words cword split
  _init_completion -s || return
  case $prev in
    --turn-back)
      mapfile -t COMPREPLY < <(compgen -W 'ja nein' -- "$cur")
      return
      ;;
    --format)
      mapfile -t COMPREPLY < <(compgen -W 'text csv json' -- "$cur")
      return
      ;;
    --plot)
      _filedir '@(svg|png)'
      return
      ;;
    --rank)
      mapfile -t COMPREPLY < <(compgen -W '0 1 2 3 4 5 6 7 8' -- "$cur")
      return
      ;;
    --test)
      mapfile -t COMPREPLY < <(compgen -W '6 7 8 9 10 11 12 13 gefasst gelungen' -- "$cur")
      return
      ;;
    --sided)
      mapfile -t COMPREPLY < <(compgen -W 'beide links rechts' -- "$cur")
      return
      ;;
    --scenario)
      _filedir json
      return
      ;;
    --escapes | --barriers | --seed | --threads | --after | --alpha)
      # A number or eight barrier bits: nothing to offer.
      return
      ;;
  esac
  $split && return
  if [[ $cur != -* ]] && [[ " ${words[*]} " == *" --merge "* ]]; then
    _filedir csv
    return
  fi
  mapfile -t COMPREPLY < <(compgen -W '--help -h --version -v --escapes --barriers --turn-back
    --seed --exact --format --threads --rank --plot --matrix --after --merge --test --alpha --sided
    --scenario' -- "$cur")
}
complete -F _wexal_sim wexal-sim
