// Our MRAID script for the {{placement}} placement: the state an ad reads, and the calls
// it makes, sent to the engine as "mraid" zmsg messages.
(function () {
  "use strict";
  if (window.mraid) { return; }

  var listeners = {};
  var state = "loading";

  function send(action, parameters) {
    var pieces = ["a=" + encodeURIComponent(action)];
    Object.keys(parameters || {}).forEach(function (key) {
      pieces.push(encodeURIComponent(key) + "=" + encodeURIComponent(parameters[key]));
    });
    location.href = "zmsg://mraid/mraid?" + pieces.join("&");
  }

  function fire(event, args) {
    (listeners[event] || []).slice().forEach(function (listener) { listener.apply(null, args); });
  }

  window.mraid = {
    getVersion: function () { return "2.0"; },
    getPlacementType: function () { return "{{placement}}" === "interstitial" ? "interstitial" : "inline"; },
    getState: function () { return state; },
    addEventListener: function (event, listener) {
      (listeners[event] = listeners[event] || []).push(listener);
    },
    removeEventListener: function (event, listener) {
      listeners[event] = (listeners[event] || []).filter(function (l) { return l !== listener; });
    },
    open: function (url) { send("open", { u: url }); },
    close: function () { send("close"); },
    expand: function (url) { send("expand", url ? { u: url } : {}); },
    resize: function () { send("resize"); },
    storePicture: function (url) { send("storePicture", { u: url }); },
    createCalendarEvent: function (event) { send("createCalendarEvent", { event: JSON.stringify(event || {}) }); },
    // The engine calls these to move the ad's state.
    fireStateChange: function (next) { state = next; fire("stateChange", [next]); },
    fireReady: function () { state = "default"; fire("ready", []); },
    fireError: function (message, action) { fire("error", [message, action]); }
  };
})();
