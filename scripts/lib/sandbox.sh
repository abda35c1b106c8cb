# Everything a run of the Windows programs needs: the namespaces ($1-app and
# $1-dev), a private X display and a Wine prefix in the app namespace, all
# removed when the script exits. Needs netns.sh and display.sh.

sandbox_up() {
  SANDBOX=$1
  trap sandbox_down EXIT
  netns_up "$SANDBOX"
  display_up
  wine_up "$SANDBOX-app"
}

sandbox_down() {
  wine_down "$SANDBOX-app"
  display_down
  netns_down "$SANDBOX"
}
