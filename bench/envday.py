"""What a user might write instead of envday: the same output, with no
temporary file and no flush to disk."""
import time

day = time.localtime().tm_yday
print(day)
with open("def/env_data.sii", "w", newline="\n") as unit:
    unit.write(
        "SiiNunit \n{ \nenv_profile : env.data { \n  \n"
        "\tlamps_on_elevation: 2.0 \n  \n  \n"
        f"\tday_in_year: {day}\t//summer solstice\n"
        "\tsummer_time: 1\t\t//summer time +1h\n  \n}\n}\n"
    )
