#!/usr/bin/env bash
# Runs a test program under a locale (LANG and LC_ALL set to it), as the program runs on a
# desktop set to that locale: Qt takes the C library's locale and its own from it, and the
# model tests' main takes the C library's. Fails, saying why, when the locale is not
# installed, since the run would then try nothing that the ordinary run does not.
#   run_in_locale.sh de_DE.UTF-8 <test program> [arguments]
set -u
locale=$1
shift
complaint=$(LC_ALL=$locale locale 2>&1 >/dev/null)
if [ -n "$complaint" ]; then
  echo "The $locale locale is not installed, so the tests cannot run under it" \
       "(tools/setup.sh generates it): $complaint"
  exit 1
fi
export LANG=$locale LC_ALL=$locale
unset LANGUAGE
exec "$@"
