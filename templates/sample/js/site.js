// Browser-side helpers of the generated site. Pages carry no inline script (their content
// security policy forbids it): behaviour is attached here by class names.

// Asks before a record is deleted; the page deletes only when the visitor agrees.
function confirmDelete(form) {
  var text = form.getAttribute("data-confirm") || "Delete this record?";
  return window.confirm(text);
}

document.addEventListener("DOMContentLoaded", function () {
  var forms = document.querySelectorAll("form.confirm");
  for (var i = 0; i < forms.length; i++) {
    forms[i].addEventListener("submit", function (e) {
      if (!confirmDelete(this)) e.preventDefault();
    });
  }
  var selects = document.querySelectorAll("select.autosubmit");
  for (var j = 0; j < selects.length; j++) {
    selects[j].addEventListener("change", function () { this.form.submit(); });
  }
});
