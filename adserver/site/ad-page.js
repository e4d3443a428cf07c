  // Shared by every creative of ours: what the engine sends the ad is kept for tests to
  // read back, and the ad's messages to the engine leave as zmsg navigations.
  window.ROZU_events = [];
  window.ROZU_ReceiveMessage = function (name, data) {
    window.ROZU_events.push({ name: name, data: data });
  };
  window.ROZU_send = function (name, parameters) {
    var pieces = [];
    Object.keys(parameters || {}).forEach(function (key) {
      pieces.push(encodeURIComponent(key) + "=" + encodeURIComponent(parameters[key]));
    });
    location.href = "zmsg://ad/" + name + (pieces.length ? "?" + pieces.join("&") : "");
  };
