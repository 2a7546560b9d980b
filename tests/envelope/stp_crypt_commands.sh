#!/usr/bin/env bash
# End-to-end runs of `stp hash`, `stp cipher`, `stp protect` and `stp unprotect`: outputs,
# exit codes 0/1/2 and one-line messages. Arguments: the command that runs stp (the
# program itself, or the Wine runner followed by stp.exe).
set -u
stp=("$@")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

check() { # what, expected, actual
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

# Runs stp with standard input from the file $1, the rest as arguments; sets out, err, rc.
run() {
    local input=$1
    shift
    out=$("${stp[@]}" "$@" <"$input" 2>"$tmp/err")
    rc=$?
    err=$(cat "$tmp/err")
}

# A usage error: exit code 2 and exactly one line on standard error.
check_usage_error() { # what, input file, arguments...
    local what=$1
    shift
    run "$@"
    check "$what exits 2" 2 "$rc"
    check "$what says why in one line" 1 "$(printf '%s\n' "$err" | grep -c .)"
}

printf 'abc' >"$tmp/abc"
: >"$tmp/empty"
head -c 200000 /dev/urandom >"$tmp/random.bin"

# hash
run "$tmp/empty" hash sha256 "$tmp/random.bin"
check "hash of a file equals sha256sum" "$(sha256sum "$tmp/random.bin" | cut -d' ' -f1)" "$out"
check "hash of a file exits 0" 0 "$rc"
run "$tmp/random.bin" hash md5
check "hash of standard input equals md5sum" "$(md5sum "$tmp/random.bin" | cut -d' ' -f1)" "$out"
run "$tmp/random.bin" hash sha512
check "sha512 equals sha512sum" "$(sha512sum "$tmp/random.bin" | cut -d' ' -f1)" "$out"
run "$tmp/abc" hash haval
check "haval of abc" 976cd6254c337969e5913b158392a2921af16fca51f5601d486e0a9de01156e7 "$out"
check_usage_error "an unknown hash" "$tmp/abc" hash sha3
check_usage_error "a cipher name for hash" "$tmp/abc" hash rc4
run "$tmp/empty" hash sha1 "$tmp/no such file"
check "a missing file exits 1" 1 "$rc"

# cipher
printf '00112233445566778899aabbccddeeff\n' >"$tmp/aes_plain"
run "$tmp/aes_plain" cipher rijndael --key 000102030405060708090a0b0c0d0e0f --mode ecb --encrypt
check "AES-128 ecb known answer" 69c4e0d86a7b0430d8cdb78070b4c55a "$out"
printf '%s' "$out" >"$tmp/aes_cipher"
run "$tmp/aes_cipher" cipher rijndael --key 000102030405060708090a0b0c0d0e0f --mode ecb --decrypt
check "AES-128 ecb decrypts back" 00112233445566778899aabbccddeeff "$out"
printf '0000000000000000' >"$tmp/rc4_plain"
run "$tmp/rc4_plain" cipher rc4 --key 0123456789abcdef --encrypt
check "RC4 known answer" 7494c2e7104b0879 "$out"
printf '48656c6c6f2c20 626c6f63 6b\n' >"$tmp/tail_plain"    # 13 bytes, spaces allowed
for mode in cbc cfb8 cfbblock ofb ctr; do
    run "$tmp/tail_plain" cipher blowfish --key 0011223344 --iv 0001020304050607 --mode "$mode" --encrypt
    printf '%s' "$out" >"$tmp/tail_cipher"
    run "$tmp/tail_cipher" cipher blowfish --key 0011223344 --iv 0001020304050607 --mode "$mode" --decrypt
    check "blowfish $mode round trip with a tail" 48656c6c6f2c20626c6f636b "$out"
done
check_usage_error "an unknown cipher" "$tmp/abc" cipher serpent --key 00 --encrypt
check_usage_error "a key too long" "$tmp/aes_plain" cipher des --key 000102030405060708 --encrypt
check_usage_error "an empty key" "$tmp/aes_plain" cipher idea --key "" --encrypt
check_usage_error "bad hex data" "$tmp/abc" cipher des --key 0001020304050607 --encrypt
check_usage_error "bad key hex" "$tmp/aes_plain" cipher des --key 00010g --encrypt
check_usage_error "an IV of the wrong size" "$tmp/aes_plain" cipher twofish --key 00 --iv 0011 --encrypt
check_usage_error "a mode for rc4" "$tmp/aes_plain" cipher rc4 --key 00 --mode cbc --encrypt
check_usage_error "an unknown mode" "$tmp/aes_plain" cipher des --key 00 --mode xts --encrypt
check_usage_error "ecb over a partial block" "$tmp/rc4_plain" cipher rijndael --key 00 --mode ecb --encrypt
check_usage_error "neither --encrypt nor --decrypt" "$tmp/aes_plain" cipher des --key 00

# protect / unprotect
printf '安装程序\nSetup\\Program.exe|1024\n' >"$tmp/text"
run "$tmp/text" protect --cipher twofish --hash sha256 --password 'pass word'
check "protect exits 0" 0 "$rc"
printf '%s\n' "$out" >"$tmp/protected"
check "the protected string is printable ASCII" 0 "$(LC_ALL=C grep -c '[^!-~]' "$tmp/protected")"
run "$tmp/protected" unprotect --password 'pass word'
check "unprotect gives the text back" "$(cat "$tmp/text")" "$out"
check "unprotect exits 0" 0 "$rc"
run "$tmp/protected" unprotect --password other
check "a wrong password is no error" 0 "$rc"
[ "$out" != "$(cat "$tmp/text")" ]
check "a wrong password gives another text" 0 $?
for pair in "rc4 md5" "des haval" "3des sha1" "idea sha512"; do
    set -- $pair
    run "$tmp/text" protect --cipher "$1" --hash "$2"
    printf '%s\n' "$out" >"$tmp/protected"
    run "$tmp/protected" unprotect
    check "$1 with $2 round trip" "$(cat "$tmp/text")" "$out"
done
printf 'not a protected string\n' >"$tmp/garbage"
run "$tmp/garbage" unprotect
check "unprotect of garbage exits 1" 1 "$rc"
check "unprotect of garbage prints nothing" "" "$out"
run "$tmp/empty" protect --cipher rc4 --hash md5
printf '%s\n' "$out" >"$tmp/protected"
run "$tmp/protected" unprotect
check "an empty text unprotects to nothing and exit 1" "1:" "$rc:$out"
check_usage_error "protect with a hash name as cipher" "$tmp/text" protect --cipher sha1 --hash md5
check_usage_error "protect without --hash" "$tmp/text" protect --cipher rc4

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all passed"
