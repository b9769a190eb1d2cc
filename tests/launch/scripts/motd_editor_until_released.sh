#!/bin/sh
# Stands in for the text editor on the message of the day: stays open until the test creates
# "release" in the current directory (or ten seconds pass), then saves a new message and exits.
tries=0
while [ ! -e release ] && [ "$tries" -lt 200 ]; do
    sleep 0.05
    tries=$((tries + 1))
done
printf 'Edited while open\r\n' > "$1"
