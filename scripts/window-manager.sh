# Sourced by the screenshot scripts inside their X server: frames the window the way a
# desktop does, with openbox when it is installed.

# Starts openbox with its config in folder $1; the bottom margin is the panel's place, so the
# work area the window may use shrinks by it.
start_window_manager() {
  command -v openbox >/dev/null || return 0
  cat >"$1/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme>
  <margins><top>0</top><bottom>32</bottom><left>0</left><right>0</right></margins>
  <placement><policy>Smart</policy><center>yes</center></placement>
</openbox_config>
XML
  openbox --config-file "$1/rc.xml" >/dev/null 2>&1 &
  sleep 1
}
