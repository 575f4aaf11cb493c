# Nothing: the interpreter's start-up and exit alone.
