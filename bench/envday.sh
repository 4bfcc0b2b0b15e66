#!/bin/sh
# What a user might write instead of envday: the same output, with no
# temporary file and no flush to disk.
day=$(date +%-j)
printf '%s\n' "$day"
printf 'SiiNunit \n{ \nenv_profile : env.data { \n  \n\tlamps_on_elevation: 2.0 \n  \n  \n\tday_in_year: %s\t//summer solstice\n\tsummer_time: 1\t\t//summer time +1h\n  \n}\n}\n' "$day" >def/env_data.sii
