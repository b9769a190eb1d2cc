#!/bin/sh
# Stands in for the URL opener: notes its arguments in "opener.<pid>" in the current directory.
{ echo "$#"; for arg; do printf '%s\n' "$arg"; done; } >".opener.$$" && mv ".opener.$$" "opener.$$"
