' Validation functions available to every template.
