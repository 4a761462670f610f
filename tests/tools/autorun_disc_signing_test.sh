# Signing, sourced by autorun_disc_test.sh (its helpers, $tool, $launcher, art.jpg, art.ico and the folder
# game/ exist): a throwaway self-signed key made here, none committed; osslsigncode reads the result back.

signing_password='pa ss$word "x"'
openssl req -x509 -newkey rsa:2048 -nodes -keyout sign.key -out sign.crt -days 2 \
  -subj '/CN=Sky Racer Games/O=Sky Racer' >/dev/null 2>&1 || fail "openssl could not make a certificate"
openssl pkcs12 -export -inkey sign.key -in sign.crt -out sign.pfx -passout "pass:$signing_password" ||
  fail "openssl could not make a .pfx"
printf '%s\r\n' "$signing_password" >sign.pass  # a line end from an editor is no part of the password
unset AUTORUN_SIGN_PASSWORD

# A stand-in osslsigncode first in PATH sees what the real one would: it records its arguments and the
# password file's mode, then runs the real one.
real_signer=$(command -v osslsigncode)
mkdir spy
cat >spy/osslsigncode <<'SPY'
#!/usr/bin/env bash
printf '%s\n' "$@" >"$SPY_DIR/spy.args"
for ((i = 1; i < $#; i++)); do
  if [ "${!i}" = -readpass ]; then
    j=$((i + 1))
    stat -c %a "${!j}" >"$SPY_DIR/spy.mode" && echo "${!j}" >"$SPY_DIR/spy.file"
  fi
done
exec "$REAL_SIGNER" "$@"
SPY
chmod +x spy/osslsigncode
tool_command=(env "PATH=$work/spy:$PATH" "SPY_DIR=$work" "REAL_SIGNER=$real_signer" "$tool")

expect_status 0 brand --launcher "$launcher" --splash art.jpg --icon art.ico --product 'Sky Racer' \
  --sign sign.pfx --sign-password-file sign.pass --out signed.exe
grep -q '^signed.exe: signed launcher written' out || fail "brand --sign says: $(cat out)"
grep -qF -- "$signing_password" spy.args && fail "the password was on osslsigncode's command line"
grep -qx sha256 spy.args || fail "not signed with SHA-256: $(tr '\n' ' ' <spy.args)"
[ "$(cat spy.mode 2>/dev/null)" = 600 ] || fail "the password file had mode $(cat spy.mode 2>/dev/null)"
[ ! -e "$(cat spy.file)" ] && [ ! -e "$(dirname "$(cat spy.file)")" ] || fail "the signing folder was left behind"
tool_command=("$tool")
echo "branded and signed launcher: $(stat -c %s signed.exe) bytes (unsigned: $(stat -c %s "$launcher"))"

osslsigncode verify -CAfile sign.crt -in signed.exe >verify.log 2>&1 || fail "osslsigncode rejects it: $(cat verify.log)"
grep -q 'Signature verification: ok' verify.log || fail "osslsigncode: $(cat verify.log)"
current=$(awk '/Current message digest/ {print $NF}' verify.log)
[ -n "$current" ] && grep -q "Calculated message digest : $current" verify.log || fail "digests differ: $(cat verify.log)"
"$python" "$here/pe_readback.py" signed.exe --splash art.jpg --icon art.ico --string 'ProductName=Sky Racer' ||
  fail "signing changed the branding"
bash "$check_pe" "$objdump" signed.exe gui >pe.log || fail "the signed exe fails the shipped exe's checks: $(cat pe.log)"

# The variable gives the password too; with neither there is no guessing.
AUTORUN_SIGN_PASSWORD=$signing_password expect_status 0 brand --launcher "$launcher" --sign sign.pfx --out env.exe
# A key without a password: osslsigncode takes no empty password file, so it gets an empty -pass.
openssl pkcs12 -export -inkey sign.key -in sign.crt -out nopass.pfx -passout pass: || fail "openssl: no .pfx"
AUTORUN_SIGN_PASSWORD='' expect_status 0 brand --launcher "$launcher" --sign nopass.pfx --out nopass.exe
osslsigncode verify -CAfile sign.crt -in nopass.exe >/dev/null 2>&1 || fail "the key without a password signed nothing valid"
tool_command=(env -u AUTORUN_SIGN_PASSWORD "$tool")
expect_refusal '^autorun-disc: sign.pfx: no password: give --sign-password-file' brand --launcher "$launcher" \
  --sign sign.pfx --out out-place/x.exe
tool_command=("$tool")
expect_status 2 brand --launcher "$launcher" --sign-password-file sign.pass --out out-place/x.exe
grep -q 'sign-password-file requires --sign' err || fail "--sign-password-file alone: $(cat err)"

# --- signing refusals: one line each, nothing written ------------------------------------------------
printf 'wrong\n' >wrong.pass
sign_into() { expect_refusal "$1" brand --launcher "$launcher" --product x "${@:2}" --out out-place/x.exe; expect_nothing_written; }
sign_into '^autorun-disc: sign.pfx: wrong password$' --sign sign.pfx --sign-password-file wrong.pass
sign_into '^autorun-disc: missing.pfx: cannot read the key file' --sign missing.pfx --sign-password-file sign.pass
sign_into '^autorun-disc: art.jpg: not a PKCS#12 key file' --sign art.jpg --sign-password-file sign.pass
sign_into '^autorun-disc: nowhere.pass: cannot read the password file' --sign sign.pfx --sign-password-file nowhere.pass
sign_into '^autorun-disc: sign.pfx: osslsigncode could not sign the launcher: HTTP failure: .*127.0.0.1:1/ (connect error)$' \
  --sign sign.pfx --sign-password-file sign.pass --timestamp-url http://127.0.0.1:1/
mkdir nosigner
tool_command=(env "PATH=$work/nosigner" "$tool")
sign_into '^autorun-disc: osslsigncode: not installed' --sign sign.pfx --sign-password-file sign.pass
mkdir badsigner && printf '#!/bin/sh\necho "Connecting"\necho "Unable to sign: disk on fire" >&2\necho Failed\nexit 1\n' >badsigner/osslsigncode
chmod +x badsigner/osslsigncode
tool_command=(env "PATH=$work/badsigner:$PATH" "$tool")
sign_into '^autorun-disc: sign.pfx: osslsigncode could not sign the launcher: Unable to sign: disk on fire$' --sign sign.pfx \
  --sign-password-file sign.pass
# A signer that says it succeeded but leaves a launcher whose signature does not hold is not believed.
"$python" - <<'PY'
data = bytearray(open("signed.exe", "rb").read())
data[0x1000] ^= 0x01  # in the code
open("tampered.exe", "wb").write(data)
PY
printf '#!/bin/sh\nwhile [ $# -gt 2 ]; do shift; done\ncp "%s" "$2"\n' "$work/tampered.exe" >badsigner/osslsigncode
sign_into '^autorun-disc: sign.pfx: osslsigncode wrote a launcher whose signature does not hold' --sign sign.pfx \
  --sign-password-file sign.pass
tool_command=("$tool")
[ -z "$(find "${TMPDIR:-/tmp}" -maxdepth 1 -name 'autorun-disc.*' -user "$(id -u)" -newer sign.pfx 2>/dev/null)" ] ||
  fail "signing folders were left in ${TMPDIR:-/tmp}"

# --- a signed launcher on a disc: byte for byte, and check tells who signed ----------------------------
expect_status 0 make --game game --exe Game.exe --launcher signed.exe --iso signed.iso
mkdir signed-x && xorriso -osirrox on -indev signed.iso -extract / signed-x >/dev/null 2>&1 || fail "xorriso can't extract"
cmp -s signed-x/autorun.exe signed.exe || fail "the signed launcher changed on its way onto the disc"
expect_status 0 check signed.iso
grep -q '^ok: autorun.exe is signed by CN = Sky Racer Games, O = Sky Racer; the signature covers its bytes$' out ||
  fail "check on a signed launcher: $(cat out)"
expect_refusal '^autorun-disc: signed.exe: the executable is signed; brand the unsigned launcher' make --game game \
  --exe Game.exe --launcher signed.exe --product x --iso out-place/d.iso
expect_nothing_written
expect_status 0 check disc.iso
grep -q '^note: autorun.exe is not signed: SmartScreen warns and Smart App Control blocks unsigned programs in downloaded images; physical discs are not affected$' out ||
  fail "no note on an unsigned launcher in an image: $(cat out)"

# make signs too, as its last step before the disc is laid out.
expect_status 0 make --game game --exe Game.exe --launcher "$launcher" --splash art.jpg --sign sign.pfx \
  --sign-password-file sign.pass --folder signed-stick
expect_status 0 check signed-stick
grep -q '^ok: autorun.exe is signed by CN = Sky Racer Games' out || fail "make --sign: $(cat out)"

# One byte changed after signing: check warns, and make warns before shipping such a launcher.
chmod -R u+w signed-stick
"$python" - <<'PY'
data = bytearray(open("signed-stick/autorun.exe", "rb").read())
data[0x1000] ^= 0x01  # in the code
open("signed-stick/autorun.exe", "wb").write(data)
PY
expect_status 0 check signed-stick
grep -q '^warning: autorun.exe is signed by CN = Sky Racer Games, O = Sky Racer, but the signature is broken: the file was changed after signing' out ||
  fail "check missed a changed byte: $(cat out)"
expect_status 0 make --game game --exe Game.exe --launcher signed-stick/autorun.exe --folder tampered-stick
grep -q 'autorun.exe: its signature does not hold (the file was changed after signing)' err ||
  fail "make took a broken signature silently: $(cat err)"

# --- time-stamped against a local RFC 3161 service ----------------------------------------------------
# exec: the coprocess is the service itself, so that killing it ends it (and its hold on our output).
coproc responder { exec "$python" "$here/tsa_responder.py" "$work/tsa" 2>"$work/tsa.log"; }
responder_pid=$responder_PID  # bash forgets responder_PID once the coprocess ends
read -r -t 30 tsa_port <&"${responder[0]}" || fail "the time-stamping service did not start"
if [ -n "${tsa_port:-}" ]; then
  expect_status 0 brand --launcher "$launcher" --sign sign.pfx --sign-password-file sign.pass \
    --timestamp-url "http://127.0.0.1:$tsa_port/" --out stamped.exe
  osslsigncode verify -CAfile sign.crt -TSA-CAfile tsa/tsa.crt -in stamped.exe >stamped.log 2>&1 ||
    fail "osslsigncode rejects the time-stamped launcher: $(cat stamped.log)"
  grep -q 'Timestamp Server Signature verification: ok' stamped.log || fail "no valid time stamp: $(cat stamped.log)"
fi
kill "$responder_pid" 2>/dev/null
wait "$responder_pid" 2>/dev/null
[ ! -s tsa.log ] || fail "the time-stamping service said: $(cat tsa.log)"
