#!/bin/sh
# Resolves one track-page address with three curl processes, as a shell
# script would do it without zelmora-cli: the baseline of the one-resolve
# benchmark. Prints the media address.
#
#   resolve_with_curl.sh CONNECT_TO MOBILE_ORIGIN URL
#
# CONNECT_TO is curl's --connect-to mapping (e.g. ::127.0.0.1:PORT).
set -eu
connect_to=$1
origin=$2
url=$3
agent='Mozilla/5.0 (iPhone; CPU iPhone OS 11_0 like Mac OS X) AppleWebKit/604.1.38 (KHTML, like Gecko) Version/11.0 Mobile/15A372 Safari/604.1'

get() {
  curl -q -s -k --noproxy '*' --connect-to "$connect_to" -A "$agent" \
    -H 'Accept: */*' -e "$url" -H 'Accept-Language: zh-cn' "$@"
}

# 1: the track page, not following its redirect.
location=$(get -D - -o /dev/null "$url" | sed -n 's/^Location: \(.*\)\r$/\1/p' | head -n 1)
# 2: the mobile page: its h5srcur value and its first /showmc/ script.
page=$(get -L "$location")
h5srcur=$(printf '%s\n' "$page" | sed -n 's/.*var h5srcur[^"]*"\([^"]*\)".*/\1/p' | head -n 1)
script=$(printf '%s\n' "$page" |
  grep -o '<script type="text/javascript" src="[^"]*/showmc/[^"]*"></script>' | head -n 1 |
  sed 's/^.*src="\([^"]*\)".*$/\1/')
if [ -n "$script" ]; then script_url=$origin$script; else script_url=$location; fi
# 3: the script's first apostrophe-quoted text.
head=$(get -L "$script_url" | sed -n "s/^[^']*'\([^']*\)'.*/\1/p" | head -n 1)
printf '%s%s\n' "$head" "$h5srcur"
