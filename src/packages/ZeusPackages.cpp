// Zeus packages: the unit lands with its own issue.
