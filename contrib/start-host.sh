#!/bin/sh
# Sets the host application's environment profile to today, then starts the
# host. Run it from the host's folder (the one that holds def/), with the
# host's command after it:
#
#   cd ~/host-app && start-host.sh ./host-app-binary --its-options
#
# If envday fails, it has said why; the host starts with the profile it has.
envday || echo "start-host.sh: starting the host with the profile it has" >&2
exec "$@"
