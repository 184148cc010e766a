#!/usr/bin/env python3
"""Validates a JSON document against a JSON schema: validate-json.py SCHEMA DOCUMENT.
Exit status 0 when it is valid, 1 with the first error when it is not, 2 when
the validator is missing."""
import json
import sys

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed", file=sys.stderr)
    sys.exit(2)

with open(sys.argv[1], encoding="utf-8") as f:
    schema = json.load(f)
with open(sys.argv[2], encoding="utf-8") as f:
    document = json.load(f)
validator = jsonschema.validators.validator_for(schema)
validator.check_schema(schema)
errors = sorted(validator(schema).iter_errors(document), key=lambda e: list(e.path))
if errors:
    e = errors[0]
    print("/".join(str(p) for p in e.path) + ": " + e.message, file=sys.stderr)
    sys.exit(1)
