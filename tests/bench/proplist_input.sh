#!/usr/bin/env bash
# Real input on the property-list demo in Wine's virtual desktop: a click
# on "Once every" (201), "35" and Return; "a7" and Return; F4 on "Alert
# type" (203), Up and Return. Checks the demo's state file after each step.
# Run from build/win64 with DISPLAY and WINEPREFIX set (scripts/wine-env.sh).
set -u
state=/tmp/proplist-input-$$.txt
fail=0
KS_DEMO=plain KS_DEMO_SECONDS=40 KS_DEMO_STATE="Z:${state//\//\\}" \
  "$WINE64" explorer /desktop=input,1024x768 proplist_demo.exe >/dev/null 2>&1 &
demo=$!
for _ in $(seq 1 100); do [ -s "$state" ] && break; sleep 0.2; done
row() { awk -v id="$1" '$1 == "row" && $2 == id' "$state"; }
check() {  # description, pattern expected in the state file
  sleep 0.8
  if grep -qE "$2" "$state"; then echo "ok: $1"; else echo "FAILED: $1"; cat "$state"; fail=1; fi
}
click_name() { read -r _ _ l t _ b _ < <(row "$1"); xdotool mousemove $((l + 40)) $(((t + b) / 2)) click 1; }
value_of() { row "$1" | awk '{print $8}'; }

click_name 201
xdotool type --delay 80 35; xdotool key Return
check "click notifies CLICK 201 first" "^note CLICK 201"
sleep 0.3
awk '/^note/{print $2, $3}' "$state" | head -2 | tr '\n' ' ' | grep -q "CLICK 201 SELCHANGED 201" \
  && echo "ok: CLICK before SELCHANGED" || { echo "FAILED: order"; fail=1; }
check "35 stored" "^row 201 .* value 35$"
xdotool type --delay 80 a7; xdotool key Return
check "a7 leaves 7" "^row 201 .* value 7$"
click_name 203
sleep 0.5
xdotool key F4
check "F4 opens the pop-up" "^popup 1 "
read -r _ vis pl pt pr pb _ lines _ h _ < <(grep '^popup' "$state")
read -r el et er eb < <(grep '^editor' "$state" | sed 's/.*\] //')
[ "$pt" = "$eb" ] && [ "$pl" = "$el" ] && [ "$pr" = "$er" ] && echo "ok: under its box, as wide" \
  || { echo "FAILED: pop-up at $pl $pt $pr $pb, box $el $et $er $eb"; fail=1; }
[ $((pb - pt)) = $((lines * h + 2)) ] && echo "ok: $lines lines high" || { echo "FAILED: height $((pb - pt))"; fail=1; }
xdotool key Up Return
check "Up, Return store 2" "^row 203 .* value 2$"
kill $demo 2>/dev/null; wait 2>/dev/null
rm -f "$state"
exit $fail
