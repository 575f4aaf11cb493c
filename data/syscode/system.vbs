' System functions available to every template.
