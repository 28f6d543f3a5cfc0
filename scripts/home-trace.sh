#!/usr/bin/env bash
# What a run under Wine leaves in the user's home where Wine's menu builder
# writes (menus, desktop entries, their folders, icons, MIME types): a list
# taken before the run, and every file or folder not on it afterwards named.
#   home-trace.sh before LIST    home-trace.sh after LIST
set -u
places=("$HOME/.local/share/applications" "$HOME/.local/share/desktop-directories"
        "$HOME/.local/share/icons" "$HOME/.local/share/mime" "$HOME/.config/menus")
list() { find "${places[@]}" 2>/dev/null | sort; }
case "${1:-}" in
before) list > "$2" ;;
after)
  left=$(list | comm -13 "$2" - | head -n 10)
  if [ -n "$left" ]; then
    echo "left behind in the home folder:" $left >&2
    exit 1
  fi
  echo "   left behind in the home folder: nothing (files and folders of menus, desktop entries, icons)"
  ;;
*) echo "usage: home-trace.sh before|after LIST" >&2; exit 2 ;;
esac
