#!/usr/bin/env bash
# zeltarn-cli calc: what each cell shows, the usage errors and their exit status.
set -u
cli="$1"
fail=0
check() { # name expected actual
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        fail=1
    fi
}

out=$("$cli" calc 12 "=a1*2+1" "=SUM(A1:A2)/7" "=SQRT(-4)" "=A1/0" "=SIN(A9)" abc)
check "shown texts" "$(printf ' A 1\t12\t12\n A 2\t=a1*2+1\t25\n A 3\t=SUM(A1:A2)/7\t5.28571\n A 4\t=SQRT(-4)\tErr関数\n A 5\t=A1/0\tErr0割り\n A 6\t=SIN(A9)\tErrセル\n A 7\tabc\tabc')" "$out"

out=$("$cli" calc --digits 1 "=1/3")
check "digits" "$(printf ' A 1\t=1/3\t0.3')" "$out"

"$cli" calc --digits 10 "=1/3" >/dev/null 2>&1
check "digits out of range" 64 $?
"$cli" nonsense >/dev/null 2>&1
check "unknown command" 64 $?
"$cli" --help | grep -q 'zeltarn-cli calc'
check "help" 0 $?

[ $fail -eq 0 ] && echo "cli_calc: all checks passed"
exit $fail
