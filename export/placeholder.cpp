// Filled as the library grows.
namespace orv {}
