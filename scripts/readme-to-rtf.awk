# Turns the README's "For Windows users" section into Corvane.rtf, the readme
# the link editor's Readme button opens, so the two texts cannot drift apart.
#   LC_ALL=C awk -v version=1.3.3.16 -v output=Corvane.rtf -f readme-to-rtf.awk README.md
# The file is written only when the whole section converted.
# The section may hold "### " headings, paragraphs, "- " list items (with
# indented continuation lines), **bold**, `names` and <!-- comments -->, in
# plain ASCII: anything else stops the build instead of turning into a
# readme that WordPad shows wrongly.

function fail(message) {
  printf "readme-to-rtf: README.md line %d: %s\n", NR, message > "/dev/stderr"
  failed = 1
  exit 1
}

# RTF for one line of text: control characters escaped, bold and names as
# groups of their own (names in the fixed-width font f1).
function inline(text,    out, i, n, c, bold, code) {
  out = ""
  bold = 0
  code = 0
  n = length(text)
  for (i = 1; i <= n; i++) {
    c = substr(text, i, 1)
    if (c !~ /[ -~]/) fail("only plain ASCII can go into the readme")
    if (c == "`") {
      out = out (code ? "}" : "{\\f1 ")
      code = !code
    } else if (!code && c == "*" && substr(text, i + 1, 1) == "*") {
      out = out (bold ? "}" : "{\\b ")
      bold = !bold
      i++
    } else if (c == "\\" || c == "{" || c == "}") {
      out = out "\\" c
    } else {
      out = out c
    }
  }
  if (bold || code) fail("unclosed ** or ` in: " text)
  return out
}

function emit(line) {
  rtf = rtf line "\n"
}

function flush() {
  if (kind == "paragraph") emit("{\\pard\\plain\\sa120\\fs20 " inline(text) "\\par}")
  if (kind == "item")
    emit("{\\pard\\plain\\fi-240\\li480\\tx480\\sa60\\fs20 \\'95\\tab " inline(text) "\\par}")
  kind = ""
  text = ""
}

function add(line) {
  sub(/^ +/, "", line)
  text = text == "" ? line : text " " line
}

BEGIN {
  if (version == "") {
    print "readme-to-rtf: give the version with -v version=..." > "/dev/stderr"
    failed = 1
    exit 1
  }
  inside = 0
  comment = 0
}

/^## / {
  if (inside) {
    flush()
    inside = 0
    done = 1
  } else if ($0 == "## For Windows users") {
    inside = 1
    emit("{\\rtf1\\ansi\\ansicpg1252\\deff0")
    emit("{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}}")
    emit("\\viewkind4\\uc1")
    emit("{\\pard\\plain\\sa240\\b\\fs36 Corvane " inline(version) "\\par}")
  }
  next
}

!inside { next }

comment || /^<!--/ {
  flush()
  comment = $0 !~ /-->/
  next
}

/^### / {
  flush()
  emit("{\\pard\\plain\\keepn\\sb240\\sa80\\b\\fs26 " inline(substr($0, 5)) "\\par}")
  next
}

/^- / {
  flush()
  kind = "item"
  add(substr($0, 3))
  next
}

/^ *$/ {
  flush()
  next
}

/^#/ { fail("only ### headings fit the readme") }

{
  if (kind == "") kind = "paragraph"
  add($0)
}

END {
  if (failed) exit 1
  if (!inside && !done) {
    print "readme-to-rtf: README.md has no \"## For Windows users\" section" > "/dev/stderr"
    exit 1
  }
  flush()
  emit("}")
  if (output == "") {
    printf "%s", rtf
  } else {
    printf "%s", rtf > output
    close(output)
  }
}
