# Shared by the benchmark scripts (sourced): measure LABEL COMMAND... runs the command under
# /usr/bin/time -v, its output in $work/LABEL.log, and prints its wall seconds and peak KiB; a
# failing command stops the script with its output.
measure() {
  local label=$1
  shift
  if ! /usr/bin/time -v -o "$work/$label.time" "$@" >"$work/$label.log" 2>&1; then
    echo "$label failed:" >&2
    cat "$work/$label.log" >&2
    exit 1
  fi
  awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; w=s}
              /Maximum resident set size/ {k=$2} END {print w, k}' "$work/$label.time"
}
