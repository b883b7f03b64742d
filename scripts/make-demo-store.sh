#!/usr/bin/env bash
# Builds the demo mail store into DEST from the text sources under demo/store/.
#
#   scripts/make-demo-store.sh DEST
#
# DEST must not exist yet, or be an empty folder, or be a demo store this
# script made before (it then is replaced whole); anything else is refused so a
# typo can never wipe a real folder. Needs bash, coreutils and iconv only.
#
# Source format: every file under demo/store/ lands at the same relative path
# in DEST. A file whose first lines begin with "@@ " carries directives, which
# are removed from the output:
#   @@ charset: NAME     convert the UTF-8 source into NAME with iconv (strict)
#   @@ eol: crlf         end every line with CR LF (default: LF as written)
#   @@ decode: base64    the body is base64 of a binary file (attachments)
#   @@ mtime: DATE       modification time (any GNU date text); without it a
#                        mail gets the time of its "Date: " line when it has one
# A file without directives is copied byte for byte.
#
# After the files, the script derives what the suite's own utilities keep
# under "temp" (relative symbolic links, so the store can be moved):
#   temp/unreadAliases/           one link per unread mail or unread
#                                 attachment folder
#   temp/refByAliases/ID.iftref/  links to the mails whose In-Reply-To is ID
#   temp/refByAliases/ID.midref/  links to the mails whose Message-ID is ID,
#                                 made for every ID some mail replies to
# (a mail with attachments is linked by its attachment folder, as the suite
# links it)
# where ID is the rest of the header line after the tag and one blank.
set -euo pipefail

die() { echo "make-demo-store: $*" >&2; exit 1; }

[ $# -eq 1 ] || die "usage: make-demo-store.sh DEST"
SRC="$(cd "$(dirname "$0")/.." && pwd)/demo/store"
DEST="$1"
MARK=".wex-demo-store"

[ -d "$SRC" ] || die "no sources at $SRC"
if [ -e "$DEST" ]; then
  [ -d "$DEST" ] || die "$DEST exists and is not a folder"
  if [ -e "$DEST/$MARK" ]; then
    rm -rf -- "$DEST"
  elif [ -n "$(ls -A -- "$DEST")" ]; then
    die "$DEST is not empty and was not made by this script; refusing to touch it"
  fi
fi
mkdir -p -- "$DEST"
DEST="$(cd "$DEST" && pwd)"
: > "$DEST/$MARK"

# Mail extensions in the order the scanner tries them for a main text.
MAIL_EXTS=(ygm mail rply rpry html wmail htm iygm imail)
is_mail_ext() { local e; for e in "${MAIL_EXTS[@]}"; do [ "$1" = "$e" ] && return 0; done; return 1; }

# convert SRC_FILE OUT_FILE: applies the directives of one source file.
convert() {
  local in="$1" out="$2" charset="" eol="" decode="" mtime="" line n=0
  while IFS= read -r line; do
    case "$line" in
      "@@ "*) n=$((n + 1)) ;;
      *) break ;;
    esac
    line="${line#@@ }"
    case "$line" in
      charset:*) charset="${line#charset:}"; charset="${charset# }" ;;
      eol:*) eol="${line#eol:}"; eol="${eol# }" ;;
      decode:*) decode="${line#decode:}"; decode="${decode# }" ;;
      mtime:*) mtime="${line#mtime:}"; mtime="${mtime# }" ;;
      *) die "$in: unknown directive '@@ $line'" ;;
    esac
  done < "$in"

  if [ "$n" -eq 0 ]; then
    cp -- "$in" "$out"
  elif [ "$decode" = base64 ]; then
    tail -n +"$((n + 1))" -- "$in" | base64 -d > "$out" || die "$in: bad base64"
  else
    local body; body="$(mktemp)"
    tail -n +"$((n + 1))" -- "$in" > "$body"
    if [ "$eol" = crlf ]; then
      sed -i 's/$/\r/' "$body"
    elif [ -n "$eol" ] && [ "$eol" != lf ]; then
      die "$in: eol must be lf or crlf"
    fi
    if [ -n "$charset" ]; then
      iconv -f UTF-8 -t "$charset" < "$body" > "$out" || die "$in: not representable in $charset"
    else
      cat -- "$body" > "$out"
    fi
    rm -f -- "$body"
  fi

  if [ -z "$mtime" ]; then
    # The first "Date: " line of the header; a mail keeps its own time.
    mtime="$(sed -n '/^$/q; s/^Date: //p' "$in" 2>/dev/null | head -n 1 | tr -d '\r')" || true
  fi
  if [ -n "$mtime" ]; then
    touch -d "$mtime" -- "$out" 2>/dev/null || echo "make-demo-store: $in: cannot use time '$mtime'" >&2
  fi
}

# 1. Folders and files.
cd "$SRC"
while IFS= read -r -d '' d; do
  mkdir -p -- "$DEST/${d#./}"
done < <(find . -mindepth 1 -type d -print0)
count=0
while IFS= read -r -d '' f; do
  rel="${f#./}"
  convert "$f" "$DEST/$rel"
  count=$((count + 1))
done < <(find . -type f -print0 | sort -z)

# An attachment folder takes the time of its main text, as the suite leaves it.
main_of_folder() { # prints the main text path of attachment folder $1, or nothing
  local dir="$1" base stem e
  base="$(basename -- "$dir")"; stem="$dir/${base%.*}"
  for e in "${MAIL_EXTS[@]}"; do [ -e "$stem.$e" ] && { echo "$stem.$e"; return; }; done
  [ -e "$stem.ygm.html" ] && { echo "$stem.ygm.html"; return; }
  [ -e "$stem" ] && { echo "$stem"; return; }
  return 0
}
is_attachment_folder() {
  local base ext; base="$(basename -- "$1")"
  [[ "$base" == *.* ]] || return 1
  ext="${base##*.}"
  [ "$ext" = mpart ] || is_mail_ext "$ext"
}

cd "$DEST"
while IFS= read -r -d '' d; do
  if is_attachment_folder "$d"; then
    m="$(main_of_folder "$d")"
    [ -n "$m" ] && touch -r "$m" -- "$d"
  fi
done < <(find . -mindepth 1 -type d -not -path './temp' -not -path './temp/*' -print0 | sort -rz)

# 2. Unread aliases.
flat() { local p="${1#./}"; printf '%s' "${p//\//_}"; }
mkdir -p temp/unreadAliases temp/refByAliases
unread=0
while IFS= read -r -d '' p; do
  base="$(basename -- "$p")"
  parent="$(dirname -- "$p")"
  if [ -d "$p" ]; then
    is_attachment_folder "$p" || continue
    m="$(main_of_folder "$p")"
    case "$m" in
      "") ;;                                   # the reader writes an unread dummy main text
      *.ygm|*.html|*.iygm) ;;
      *.*) [ "$(basename -- "$m")" = "${base%.*}" ] || continue ;;
    esac
  else
    is_attachment_folder "$parent" && continue  # parts are reached through their folder
    case "$base" in
      *.ygm|*.html|*.iygm|error-mail-original*.txt) ;;
      *) continue ;;
    esac
  fi
  ln -sr -- "$p" "temp/unreadAliases/$(flat "$p")"
  unread=$((unread + 1))
done < <(find . -mindepth 2 -not -path './temp/*' -print0 | sort -z)

# 3. Reference folders of the reply threads.
# header_id TAG FILE: the rest of the first line that begins with TAG (any
# letter case), after the tag and one blank, without its line end.
header_id() { grep -i -m 1 -- "^$1" "$2" 2>/dev/null | cut -c $(( ${#1} + 2 ))- | tr -d '\n' || true; }
declare -A mid_of=()
declare -a mails=()
while IFS= read -r -d '' p; do
  base="$(basename -- "$p")"; ext="${base##*.}"
  parent="$(dirname -- "$p")"
  if is_attachment_folder "$parent"; then
    [ "$(main_of_folder "$parent")" = "$p" ] || continue
  else
    is_mail_ext "$ext" || [[ "$base" == upload* || "$base" == error-mail-original* ]] || continue
  fi
  mails+=("$p")
done < <(find . -type f -not -path './temp/*' -print0 | sort -z)

# item_of MAIL: the store item that stands for a mail file: its attachment
# folder when it is one's main text, else the file itself.
item_of() {
  local parent; parent="$(dirname -- "$1")"
  if is_attachment_folder "$parent"; then printf '%s' "$parent"; else printf '%s' "$1"; fi
}
refs=0
for p in "${mails[@]}"; do
  mid="$(header_id 'Message-ID:' "$p")"
  [ -n "$mid" ] && mid_of["$p"]="$mid"
done
for p in "${mails[@]}"; do
  irt="$(header_id 'In-Reply-To:' "$p")"
  [ -n "$irt" ] || continue
  case "$irt" in */*|*$'\r'*) echo "make-demo-store: $p: ID '$irt' cannot name a folder; skipped" >&2; continue ;; esac
  mkdir -p "temp/refByAliases/$irt.iftref"
  item="$(item_of "$p")"
  ln -sr -- "$item" "temp/refByAliases/$irt.iftref/$(flat "$item")"
  refs=$((refs + 1))
  for q in "${mails[@]}"; do
    [ "${mid_of[$q]-}" = "$irt" ] || continue
    mkdir -p "temp/refByAliases/$irt.midref"
    item="$(item_of "$q")"
    [ -e "temp/refByAliases/$irt.midref/$(flat "$item")" ] ||
      ln -sr -- "$item" "temp/refByAliases/$irt.midref/$(flat "$item")"
  done
done

echo "demo store: $DEST ($count files, $unread unread aliases, $refs reply references)"
