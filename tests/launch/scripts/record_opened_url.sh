#!/bin/sh
# Stands in for the browser: notes each URL it is asked to open, one per line.
printf '%s\n' "$1" >> opened_urls.txt
