// Browser-side helpers of the generated site.

// Asks before a record is deleted; the page deletes only when the visitor agrees.
function confirmDelete(form) {
  var text = form.getAttribute("data-confirm") || "Delete this record?";
  return window.confirm(text);
}
