# Sourced first by the scripts one runs (run.sh, test.sh, bench.sh, package.sh): installs what
# is missing (setup.sh), then starts the calling script again, so that its shell sees the
# locale set-up may just have made (a shell keeps the locales it found at its start).
if [ -z "${ZELMAR_SET_UP:-}" ]; then
  bash "$(dirname "${BASH_SOURCE[0]}")/setup.sh" || exit 1
  export ZELMAR_SET_UP=1
  exec bash "$0" "$@"
fi
