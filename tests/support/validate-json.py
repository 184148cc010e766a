#!/usr/bin/env python3
"""Validates a JSON document against a JSON schema: validate-json.py SCHEMA DOCUMENT.
The other schemas of the schema's folder are known by their $id, so that a
schema may refer to their definitions. Exit status 0 when it is valid, 1 with
the first error when it is not, 2 when the validator is missing."""
import json
import pathlib
import sys

try:
    import jsonschema
    from referencing import Registry, Resource
except ImportError:
    print("python3-jsonschema is not installed", file=sys.stderr)
    sys.exit(2)

schema_path = pathlib.Path(sys.argv[1])
schema = json.loads(schema_path.read_text(encoding="utf-8"))
registry = Registry()
for other in sorted(schema_path.parent.glob("*.schema.json")):
    contents = json.loads(other.read_text(encoding="utf-8"))
    registry = registry.with_resource(contents["$id"], Resource.from_contents(contents))
with open(sys.argv[2], encoding="utf-8") as f:
    document = json.load(f)
validator = jsonschema.validators.validator_for(schema)
validator.check_schema(schema)
errors = sorted(validator(schema, registry=registry).iter_errors(document),
                key=lambda e: list(e.path))
if errors:
    e = errors[0]
    print("/".join(str(p) for p in e.path) + ": " + e.message, file=sys.stderr)
    sys.exit(1)
