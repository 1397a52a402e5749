// Loaded into the script engine of every JSON document before anything else. It relies on
// the engine's own JSON object for reading and writing JSON text.

// The number of names that a for-in loop over c yields, less the two methods below that
// every object inherits: for an object, its own members; for an array, its elements.
function get__count(c) {
    var count = -2;
    for (var name in c) {
        count++;
    }
    return count;
}

// Every value can write itself as JSON text, and a text can be read as JSON. Both are plain
// assignments, so they are enumerable: for-in loops over any object list them too.
Object.prototype.toJSONString = function () {
    return JSON.stringify(this);
};

Object.prototype.parseJSON = function () {
    return JSON.parse(this);
};
