# A real printer for the scenarios: the CUPS scheduler with the cups-pdf virtual queue
# "PDF", whose jobs become PDF files. Sourced after harness.sh.
#
# cups_ready starts cupsd when no scheduler answers (and only then stops it again at the
# end of the scenario), adds the queue once and makes it the default. Where CUPS cannot
# work it sets CUPS_NOT_READY to the reason and returns 1.

CUPS_QUEUE=PDF
CUPS_STARTED_PID=
CUPS_NOT_READY=

cups__scheduler_up() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; }

cups__stop_started() {
  [ -n "$CUPS_STARTED_PID" ] || return 0
  e2e__kill_pid "$CUPS_STARTED_PID"
  CUPS_STARTED_PID=
}

cups_ready() {
  local tool
  for tool in cupsd lpadmin lpstat pdftoppm; do
    command -v "$tool" >/dev/null || { CUPS_NOT_READY="no $tool (scripts/install-deps.sh installs it)"; return 1; }
  done
  [ -e /usr/lib/cups/backend/cups-pdf ] || { CUPS_NOT_READY="no cups-pdf backend"; return 1; }
  [ -f /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd ] || { CUPS_NOT_READY="no cups-pdf PPD"; return 1; }
  if ! cups__scheduler_up; then
    [ "$(id -u)" = 0 ] || { CUPS_NOT_READY="cupsd is not running and only root can start it"; return 1; }
    # In the foreground, so that its PID is the scheduler's and it can be stopped by it.
    # Without the prefix in its environment: it is no Wine process and is stopped here.
    env -u WINEPREFIX -u OV_E2E_OWNER cupsd -f 8>&- </dev/null >"$E2E_ART/cupsd.log" 2>&1 &
    CUPS_STARTED_PID=$!
    echo "$CUPS_STARTED_PID" >>"$E2E_ART/.pids"
    E2E_ON_CLEANUP+=(cups__stop_started)
    local i
    for i in $(seq 1 50); do cups__scheduler_up && break; sleep 0.2; done
    cups__scheduler_up || { CUPS_NOT_READY="cupsd did not start: $(tail -n 3 "$E2E_ART/cupsd.log")"; return 1; }
    e2e_log "started cupsd (pid $CUPS_STARTED_PID)"
  fi
  if ! LC_ALL=C lpstat -p "$CUPS_QUEUE" >/dev/null 2>&1; then
    lpadmin -p "$CUPS_QUEUE" -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null ||
      lpadmin -p "$CUPS_QUEUE" -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null ||
      { CUPS_NOT_READY="cannot add the queue $CUPS_QUEUE"; return 1; }
    e2e_log "added the print queue $CUPS_QUEUE"
  fi
  lpadmin -d "$CUPS_QUEUE" >/dev/null 2>&1 || true
  cupsenable "$CUPS_QUEUE" 2>/dev/null || true
  cupsaccept "$CUPS_QUEUE" 2>/dev/null || true
  return 0
}

# The folder cups-pdf writes this user's jobs to (its "Out" setting, ${HOME} being the
# home folder of the job's owner, which is the user running Wine).
cups_pdf_folder() {
  local out home
  out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
  [ -n "$out" ] || out='${HOME}/PDF'
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  printf '%s\n' "${out//\$\{HOME\}/$home}"
}

# Programs started after this see no CUPS at all, and Wine forgets the printers it took
# over from CUPS before (it keeps them in the prefix's registry otherwise).
cups_hide_printers() {
  export CUPS_SERVER=$E2E_ART/no-cups.sock
  e2e_wine reg delete 'HKLM\System\CurrentControlSet\Control\Print\Printers' /f >/dev/null 2>&1 </dev/null || true
  e2e_wine reg delete 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Devices' /f >/dev/null 2>&1 </dev/null || true
  e2e_wine reg delete 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device /f >/dev/null 2>&1 \
    </dev/null || true
}
